"""A small language-server client for the tests: starts `brindle lsp`, frames
messages, and waits for answers and notifications with a time limit."""
import json
import os
import select
import subprocess
import time


class LspClient:
    def __init__(self, brindle, cwd, env, args=("lsp",)):
        self.process = subprocess.Popen([brindle, *args], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, cwd=cwd, env=env)
        self.buffer = b""
        self.inbox = []
        self.next_id = 1

    def write(self, raw):
        self.process.stdin.write(raw)
        self.process.stdin.flush()

    @staticmethod
    def frame(message):
        body = json.dumps(message).encode() if not isinstance(message, bytes) else message
        return b"Content-Length: %d\r\n\r\n" % len(body) + body

    def notify(self, method, params):
        self.write(self.frame({"jsonrpc": "2.0", "method": method, "params": params}))

    def send_request(self, method, params=None):
        request_id = self.next_id
        self.next_id += 1
        message = {"jsonrpc": "2.0", "id": request_id, "method": method}
        if params is not None:
            message["params"] = params
        self.write(self.frame(message))
        return request_id

    def request(self, method, params=None, timeout=30):
        request_id = self.send_request(method, params)
        return self.wait_for(lambda m: m.get("id") == request_id and "method" not in m, timeout)

    def _read_message(self, deadline):
        while True:
            end = self.buffer.find(b"\r\n\r\n")
            if end >= 0:
                headers = dict(line.split(b":", 1) for line in self.buffer[:end].split(b"\r\n"))
                length = int(headers[b"Content-Length"])
                if len(self.buffer) >= end + 4 + length:
                    body = self.buffer[end + 4:end + 4 + length]
                    self.buffer = self.buffer[end + 4 + length:]
                    return json.loads(body)
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            ready, _, _ = select.select([self.process.stdout], [], [], left)
            if not ready:
                return None
            chunk = os.read(self.process.stdout.fileno(), 1 << 16)
            if not chunk:
                raise AssertionError("the server closed its output")
            self.buffer += chunk

    def wait_for(self, predicate, timeout=30):
        for i, message in enumerate(self.inbox):
            if predicate(message):
                return self.inbox.pop(i)
        deadline = time.monotonic() + timeout
        while True:
            message = self._read_message(deadline)
            if message is None:
                raise AssertionError("timed out; received: %s" % json.dumps(self.inbox)[:2000])
            if predicate(message):
                return message
            self.inbox.append(message)

    def sent_before_next_answer(self, timeout=60):
        """Everything the server sends before it answers one more request.
        The server handles messages in order, so this is all it had to say
        about what came before: a barrier instead of waiting a fixed time."""
        request_id = self.send_request("brindle/noSuchRequest")
        self.wait_for(lambda m: m.get("id") == request_id and "method" not in m, timeout)
        got, self.inbox = self.inbox, []
        return got

    def diagnostics(self, uri, timeout=30):
        return self.wait_for(lambda m: m.get("method") == "textDocument/publishDiagnostics"
                             and m["params"]["uri"] == uri, timeout)["params"]

    def initialize(self, capabilities=None, options=None):
        params = {"processId": None, "rootUri": None, "capabilities": capabilities or {}}
        if options is not None:
            params["initializationOptions"] = options
        result = self.request("initialize", params)["result"]
        self.notify("initialized", {})
        return result

    def close(self):
        self.request("shutdown")
        self.notify("exit", None)
        return self.process.wait(timeout=30)
