#pragma once

#include <string>
#include <string_view>

namespace brindlewort::cli {

// A file name as messages and listings show it: as it is, unless it holds a
// control character; then quoted the way a shell reads it back ($'a\nb'),
// so that no name can break a line and pass for a message of its own.
std::string displayedFileName(std::string_view name);

}  // namespace brindlewort::cli
