// The preface shown by the notice button: the program's conventions, in Arabic.
#pragma once

#include <string_view>

namespace zerin {

// 28 lines, each ending with CR LF.
std::string_view PrefaceText();

}  // namespace zerin
