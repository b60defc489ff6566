#pragma once

// Stand-ins for the main window, the clock and the power layer, recording what the auto-end does.

#include "FakeTimer.h"
#include "core/autoend/MainWindowHost.h"
#include "core/autoend/WallClock.h"
#include "platform/Power.h"
#include "platform/Timer.h"

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace autoend::testing {

using FakeTimer = tvx::test::FakeTimer;

// Records every call in order; a call whose name is in failing throws after being recorded.
class FakeHost : public MainWindowHost {
public:
    std::vector<std::string> log;
    std::set<std::string> failing;
    FakeTimer timer{log, "ejTimer2"};
    bool command6Enabled = true;
    bool label4Visible = true;
    bool frame1Visible = false;
    std::string caption = "Command9";
    std::int16_t recCount1 = 0;
    std::string edition = "XP";
    int quits = 0;
    std::function<void()> onTick;

    platform::ITimer& getEjTimer2() override {
        call("getEjTimer2");
        return timer;
    }
    void setCommand6Enabled(bool e) override {
        call(std::string("Command6.Enabled ") + (e ? "1" : "0"));
        command6Enabled = e;
    }
    void setLabel4Visible(bool v) override {
        call(std::string("Label4.Visible ") + (v ? "1" : "0"));
        label4Visible = v;
    }
    void showFrame1() override {
        call("Frame1.Show");
        frame1Visible = true;
    }
    void hideFrame1() override {
        call("Frame1.Hide");
        frame1Visible = false;
    }
    void setCommand9Caption(const std::string& c) override {
        call("Command9.Caption " + c);
        caption = c;
    }
    void ejtimer2_timer() override {
        call("ejtimer2_timer");
        if (onTick) onTick();
    }
    std::int16_t getRecCount1() const override {
        const_cast<FakeHost*>(this)->call("RecCount1?");
        return recCount1;
    }
    void setRecCount1(std::int16_t v) override {
        call("RecCount1 " + std::to_string(v));
        recCount1 = v;
    }
    std::string getWinEdition() const override {
        const_cast<FakeHost*>(this)->call("WinEdition?");
        return edition;
    }
    void quitProgram() override {
        call("quit");
        ++quits;
    }

    // The log without the queries, for checking the order of the changes.
    std::vector<std::string> changes() const {
        std::vector<std::string> out;
        for (const std::string& s : log) {
            if (s.back() != '?' && s != "getEjTimer2") out.push_back(s);
        }
        return out;
    }

private:
    void call(const std::string& name) {
        log.push_back(name);
        const std::string key = name.substr(0, name.find(' '));
        if (failing.count(key)) throw std::runtime_error("failing " + key);
    }
};

class FakeClock final : public IWallClock {
public:
    std::chrono::local_seconds t{std::chrono::local_days{std::chrono::year{2024} / 3 / 31} +
                                 std::chrono::hours{1}};
    std::chrono::local_seconds now() const override {
        ++reads;
        return t;
    }
    void advance(std::int64_t s) { t += std::chrono::seconds{s}; }
    // Runs between the caption's reading and the test's, to show the test reads the clock afresh.
    mutable int reads = 0;
};

class FakePower final : public platform::IPower {
public:
    std::vector<std::string> calls;
    std::set<std::string> failing;
    void requestShutdown() override { call("requestShutdown"); }
    void acquireShutdownRight() override { call("acquireShutdownRight"); }
    void forcePowerOff() override { call("forcePowerOff"); }

private:
    void call(const std::string& name) {
        calls.push_back(name);
        if (failing.count(name)) throw std::runtime_error(name);
    }
};

}  // namespace autoend::testing
