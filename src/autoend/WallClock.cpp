#include "autoend/WallClock.h"

#include <QDateTime>

namespace autoend {
namespace {

class SystemWallClock final : public IWallClock {
public:
    std::chrono::local_seconds now() const override {
        using namespace std::chrono;
        const QDateTime t = QDateTime::currentDateTime();
        const QDate d = t.date();
        const QTime c = t.time();
        const local_days day{year{d.year()} / month{static_cast<unsigned>(d.month())} /
                             static_cast<unsigned>(d.day())};
        return local_seconds{day} + hours{c.hour()} + minutes{c.minute()} + seconds{c.second()};
    }
};

}  // namespace

const IWallClock& systemWallClock() {
    static const SystemWallClock clock;
    return clock;
}

}  // namespace autoend
