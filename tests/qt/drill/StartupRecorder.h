#pragma once

// A character and a registry that write every start-up call into one shared log, each call with a
// snapshot of the window at that moment, so a test can read the order of the start-up steps.

#include "RegistryMemory.h"
#include "core/agent/AgentApi.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace drill::test {

using StepLog = std::vector<std::string>;
// What the window looks like when a call arrives, e.g. "label4=set command1=empty".
using Snapshot = std::function<std::string()>;

class RecordingBalloon : public agent::IBalloon {
public:
    explicit RecordingBalloon(StepLog& log) : log_(log) {}
    void setFontSize(int points) override {
        log_.push_back("FontSize " + std::to_string(points));
        size_ = points;
    }
    int fontSize() const override { return size_; }

private:
    StepLog& log_;
    int size_ = 0;
};

class RecordingAgent : public agent::IAgent, public agent::ICharacters, public agent::ICharacter {
public:
    RecordingAgent(StepLog& log, Snapshot snapshot)
        : log_(log), snapshot_(std::move(snapshot)), balloon_(log) {}

    agent::ICharacters& Characters() override { return *this; }
    void Load(const std::string& id, const std::string& path) override {
        log_.push_back("Load " + id + " " + path + " | " + snapshot_());
        loaded_ = true;
    }
    agent::ICharacter& Item(const std::string& id) override {
        if (!loaded_ || id != "peedy") throw agent::AgentError("no character " + id);
        log_.push_back("Item " + id);
        return *this;
    }
    void Show() override { log_.push_back("Show"); }
    void MoveTo(int x, int y, int speed) override {
        log_.push_back("MoveTo " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(speed) +
                       " | " + snapshot_());
    }
    agent::IBalloon& Balloon() override { return balloon_; }
    void setTTSModeID(const std::string& modeId) override { mode_ = modeId; }
    std::string TTSModeID() const override { return mode_; }
    void Speak(const std::string& text) override { log_.push_back("Speak " + text); }
    void setBalloonSubject(const std::string& text) override { log_.push_back("Subject " + text); }
    void setEnglishVoice(agent::EnglishVoice voice) override {
        log_.push_back("EnglishVoice " + std::to_string(static_cast<int>(voice)));
    }

private:
    StepLog& log_;
    Snapshot snapshot_;
    RecordingBalloon balloon_;
    bool loaded_ = false;
    std::string mode_;
};

class RecordingRegistry : public platform::RegistryMemory {
public:
    explicit RecordingRegistry(StepLog& log) : log_(log) {}
    long openLocalMachineKey(const std::string& subKey, std::uint32_t mask, platform::RegKey& key) override {
        log_.push_back("Registry " + subKey);
        return RegistryMemory::openLocalMachineKey(subKey, mask, key);
    }

private:
    StepLog& log_;
};

}  // namespace drill::test
