#pragma once

#include <stdlib.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Environment variables set (or, for nullopt, unset) for as long as this lives, then put
// back as they were, so that no test sees another's HOME or WINEPREFIX.
class ScopedEnvironment {
public:
    using Values = std::vector<std::pair<std::string, std::optional<std::string>>>;
    explicit ScopedEnvironment(const Values& values) {
        for (const auto& [name, value] : values) {
            const char* before = std::getenv(name.c_str());
            m_saved.emplace_back(name, before ? std::optional<std::string>(before) : std::nullopt);
            Set(name, value);
        }
    }
    ~ScopedEnvironment() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) Set(it->first, it->second);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    static void Set(const std::string& name, const std::optional<std::string>& value) {
        value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }
    Values m_saved;
};
