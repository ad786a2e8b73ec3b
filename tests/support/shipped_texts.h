// The language script shipped with camdesk, read as the program reads it.
#pragma once

#include "core/model/file_io.h"
#include "core/model/language.h"

#include <string>
#include <vector>

namespace camtest {

inline std::string ShippedScriptBytes() {
    return cam::ReadFileBytes(std::string(CAMDESK_SOURCE_DIR) + "/resources/Z32px_ENG.SCR",
                              cam::kMaxLanguageScriptBytes)
        .bytes;
}

inline std::vector<std::string> ShippedTexts() { return cam::ParseLanguageScript(ShippedScriptBytes()); }

}  // namespace camtest
