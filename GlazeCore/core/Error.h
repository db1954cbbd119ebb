#pragma once

#include <exception>
#include <string>

namespace GlazeCore {

/// Base of every error family the library throws; each gives its own sentence.
class Error : public std::exception {
public:
    virtual std::string message() const = 0;
    const char* what() const noexcept override {
        if (m_what.empty()) {
            try {
                m_what = message();
            } catch (...) {
                return "GlazeCore error";
            }
        }
        return m_what.c_str();
    }

private:
    mutable std::string m_what;
};

} // namespace GlazeCore
