#pragma once
// Every failure of a host call (a stale or empty shape handle, an index out of range, a slide
// name already used) is a HostError; callers that the editor's commands describe as
// "trapped" catch it at that place.
#include <stdexcept>
#include <string>

namespace zov::host {

class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace zov::host
