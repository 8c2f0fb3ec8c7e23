#pragma once

#include <stdexcept>
#include <string>

namespace NOX {

// Thrown by a method adapter to report a library error to the script: the caller receives a
// host error with this id and text.
class COSMsgException : public std::runtime_error {
public:
    COSMsgException(std::string id, const std::string& message)
        : std::runtime_error(message), m_id(std::move(id)) {}
    const std::string& id() const { return m_id; }
    std::string message() const { return what(); }

private:
    std::string m_id;
};

} // namespace NOX
