#pragma once

// Observers for tests: one that calls a function on every update, one that counts updates, and
// a log of the console lines an application model posts.

#include "Core/Operations/InputRequest.h"
#include "Util/IObserver.h"

#include <functional>
#include <string>
#include <vector>

namespace TestSupport {

struct CallObserver : Util::IObserver {
    explicit CallObserver(std::function<void()> f) : call(std::move(f)) {}
    void update() override { call(); }
    std::function<void()> call;
};

struct CountingObserver : Util::IObserver {
    void update() override { ++count; }
    int count = 0;
};

// Every console line, in order. Register it with request.addObserver(log).
struct MessageLog : Util::IObserver {
    explicit MessageLog(Core::Operations::InputRequest &request) : request(request) {}
    void update() override { lines.push_back(request.message()); }
    std::string last() const { return lines.empty() ? std::string() : lines.back(); }
    bool contains(const std::string &line) const
    {
        for (const auto &l : lines)
            if (l == line)
                return true;
        return false;
    }

    Core::Operations::InputRequest &request;
    std::vector<std::string> lines;
};

} // namespace TestSupport
