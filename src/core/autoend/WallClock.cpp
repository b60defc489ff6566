#include "core/autoend/WallClock.h"

#include <ctime>
#include <mutex>

namespace autoend {
namespace {

class SystemWallClock final : public IWallClock {
public:
    std::chrono::local_seconds now() const override {
        using namespace std::chrono;
        const std::time_t t = std::time(nullptr);
        std::tm c{};
        {
            // std::localtime shares one buffer; the countdown and a test may read at once.
            static std::mutex mutex;
            const std::lock_guard lock(mutex);
            c = *std::localtime(&t);
        }
        const local_days day{year{c.tm_year + 1900} / month{static_cast<unsigned>(c.tm_mon + 1)} /
                             static_cast<unsigned>(c.tm_mday)};
        return local_seconds{day} + hours{c.tm_hour} + minutes{c.tm_min} + seconds{c.tm_sec};
    }
};

}  // namespace

const IWallClock& systemWallClock() {
    static const SystemWallClock clock;
    return clock;
}

}  // namespace autoend
