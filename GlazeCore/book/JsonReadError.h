#pragma once

#include "GlazeCore/core/Error.h"

#include <string>

namespace GlazeCore {

/// A book or data file that is not the JSON we expect: names where (a path such as "tests[3].date") and what.
class JsonReadError : public Error {
public:
    JsonReadError(std::string path, std::string problem) : m_path(std::move(path)), m_problem(std::move(problem)) {}

    const std::string& path() const { return m_path; }
    const std::string& problem() const { return m_problem; }
    std::string message() const override { return m_path.empty() ? m_problem : m_path + ": " + m_problem; }

private:
    std::string m_path;
    std::string m_problem;
};

/// A value that cannot be written (a number that is not finite).
class JsonWriteError : public Error {
public:
    JsonWriteError(std::string path, std::string problem) : m_path(std::move(path)), m_problem(std::move(problem)) {}

    const std::string& path() const { return m_path; }
    std::string message() const override { return m_path.empty() ? m_problem : m_path + ": " + m_problem; }

private:
    std::string m_path;
    std::string m_problem;
};

} // namespace GlazeCore
