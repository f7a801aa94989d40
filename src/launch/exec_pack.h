// Filling the start request handed to Zorv.dll. Its three text fields hold
// 259 bytes and a NUL in the ANSI code page: a longer text, or one the code
// page cannot hold, is refused as a whole rather than cut or garbled, since
// a shortened path or argument would start something else.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "launch/exec_request.h"

namespace zorv {

// The request's texts already in the ANSI code page; nothing where the code
// page could not represent the text.
struct ExecFields {
    std::optional<std::string> File, Params, WorkDir;
    std::int32_t Style = 1;  // 100..103: a forced state, the 100 is dropped
    std::int32_t Prio = 2;   // index into PriorityClasses
    std::int32_t UserType = 0;
    bool ShellStart = false;
};

enum class PackFailure { None, TooLong, NotInCodePage };

// The text fits a field of the Unicode request (UTF-16 units, NUL excluded).
bool FitsUnicodeRequest(std::string_view utf8);

struct PackResult {
    PackFailure Failure = PackFailure::None;
    int Field = -1;  // 0 File, 1 Params, 2 WorkDir
    bool Ok() const { return Failure == PackFailure::None; }
};

// The Windows priority class for a priority index; outside 0..4 normal.
std::uint32_t PriorityClassOf(std::int32_t prio);
// The show command of an item's Style.
std::int32_t ShowCmdOf(std::int32_t style);

// Zero-fills `request` and fills it from `fields`; on a refusal the request
// is left zero-filled.
PackResult PackExecRequest(const ExecFields& fields, ExecRequest& request);

}  // namespace zorv
