#include "launch/exec_pack.h"

#include <cstring>

#include "support/startup_state.h"

namespace zorv {

std::uint32_t PriorityClassOf(std::int32_t prio) {
    if (prio < 0 || prio >= static_cast<std::int32_t>(PriorityClasses.size())) prio = 2;
    return PriorityClasses[static_cast<std::size_t>(prio)];
}

std::int32_t ShowCmdOf(std::int32_t style) {
    return style >= 100 ? style - 100 : style;
}

namespace {

PackFailure Check(const std::optional<std::string>& text) {
    if (!text) return PackFailure::NotInCodePage;
    if (text->size() >= kExecTextBytes) return PackFailure::TooLong;
    // An embedded NUL would silently end the text early on the other side.
    if (text->find('\0') != std::string::npos) return PackFailure::NotInCodePage;
    return PackFailure::None;
}

}  // namespace

PackResult PackExecRequest(const ExecFields& fields, ExecRequest& request) {
    std::memset(&request, 0, sizeof request);
    // The numbers first: a request refused for its texts keeps them for the
    // Unicode form.
    request.ShowCmd = ShowCmdOf(fields.Style);
    request.PriorityClass = static_cast<std::int32_t>(PriorityClassOf(fields.Prio));
    request.UserType = fields.UserType;
    request.ShellStart = fields.ShellStart ? 1 : 0;
    const std::optional<std::string>* texts[] = {&fields.File, &fields.Params, &fields.WorkDir};
    char* targets[] = {request.File, request.Params, request.WorkDir};
    for (int i = 0; i < 3; ++i) {
        if (PackFailure failure = Check(*texts[i]); failure != PackFailure::None) {
            return {failure, i};
        }
    }
    for (int i = 0; i < 3; ++i) {
        const std::string& text = **texts[i];
        std::memcpy(targets[i], text.data(), text.size());
    }
    return {};
}

bool FitsUnicodeRequest(std::string_view utf8) {
    std::size_t units = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80) ++units;  // a character begins
        if ((c & 0xF8) == 0xF0) ++units;  // four bytes: a surrogate pair
    }
    return units <= kExecTextCharsW;
}

}  // namespace zorv
