// What a real FlightGear 2020.3 sent, recorded once (tests/data/README.md).
#pragma once

#include <map>
#include <string>

#include "file_io.h"

inline std::string Recorded(const char* name) { return FileText(std::string(SOURCE_DIR) + "/tests/data/" + name); }

// The property server's reply lines by path ("path = 'value' (type)\r\n"), without its prompts.
inline std::map<std::string, std::string> RecordedReplies() {
    std::map<std::string, std::string> replies;
    const std::string text = Recorded("fg2020-c172p.props");
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        const size_t from = text.compare(at, 3, "/> ") == 0 ? at + 3 : at;
        replies[text.substr(from, text.find(" = ", from) - from)] = text.substr(from, end + 1 - from);
    }
    return replies;
}
