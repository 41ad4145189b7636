#pragma once

// Telling the user, on standard error, something about their project that
// changes results (a repository git refuses, a word list left unread).

#include <string_view>

namespace brindlewort {

// Prints the message as a line of standard error, once per process however
// often it is given; safe from any thread.
void noticeOnce(std::string_view message);

}  // namespace brindlewort
