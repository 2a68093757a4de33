#pragma once

namespace lumeris {

// How long a bezel stays on screen before it fades out by itself.
class BezelTimeToLive {
public:
    enum class Kind { Exactly, Short, Long, Forever };

    static constexpr double SHORT_SECONDS = 2.0;
    static constexpr double LONG_SECONDS = 6.0;

    static constexpr BezelTimeToLive exactly(double seconds) {
        return BezelTimeToLive(Kind::Exactly, seconds);
    }
    static constexpr BezelTimeToLive shortTime() {
        return BezelTimeToLive(Kind::Short, SHORT_SECONDS);
    }
    static constexpr BezelTimeToLive longTime() {
        return BezelTimeToLive(Kind::Long, LONG_SECONDS);
    }
    // Stays until a hide request arrives.
    static constexpr BezelTimeToLive forever() { return BezelTimeToLive(Kind::Forever, 0.0); }

    Kind kind() const { return kind_; }
    bool isForever() const { return kind_ == Kind::Forever; }
    // Infinity for `forever`.
    double seconds() const;

    bool operator==(const BezelTimeToLive&) const = default;

private:
    constexpr BezelTimeToLive(Kind kind, double seconds) : kind_(kind), seconds_(seconds) {}

    Kind kind_;
    double seconds_;
};

} // namespace lumeris
