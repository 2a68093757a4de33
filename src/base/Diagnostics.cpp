#include "base/Diagnostics.h"

#include <iostream>
#include <mutex>
#include <utility>

namespace lumeris {

namespace {

std::mutex& sinkMutex() {
    static std::mutex mutex;
    return mutex;
}

Diagnostics::Sink& currentSink() {
    static Diagnostics::Sink sink;
    return sink;
}

} // namespace

void Diagnostics::print(const std::string& line) {
    std::lock_guard lock(sinkMutex());
    if (currentSink()) {
        currentSink()(line);
    } else {
        std::cout << line << '\n';
    }
}

Diagnostics::Sink Diagnostics::setSink(Sink sink) {
    std::lock_guard lock(sinkMutex());
    return std::exchange(currentSink(), std::move(sink));
}

} // namespace lumeris
