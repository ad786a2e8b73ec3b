// Any bytes as a message file read, received or sent: every message is a piece of a line.
#include "core/link/message_transfer.h"
#include "core/messages/message_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int count = 1 + static_cast<int>(size % cam::kMaxMsgNumber);
    const auto msgs = cam::ParseMsgFile(bytes, count);
    if (msgs.size() != static_cast<std::size_t>(count) + 1) std::abort();
    for (const auto& m : msgs)
        if (m.size() > size) std::abort();
    for (std::size_t start = 0; start < size;) {
        const std::size_t end = std::min(bytes.find('\n', start), size);
        const cam::MsgSendLine line = cam::ReadMsgSendLine(bytes.substr(start, end - start));
        if (line.number < 0 || line.number > cam::kMaxMsgNumber || line.text.size() > end - start) std::abort();
        const std::string wire = cam::MsgWireLine(line.number, line.text);
        if (wire.find('\r') != wire.size() - 1) std::abort();  // one line on the wire, whatever the text
        start = end + 1;
    }
    cam::MsgReceiveProgress(bytes, count);
    return 0;
}
