#pragma once

#include <string>

namespace drill {

// The texts of the current number as they live on the window's controls (UTF-8).
// The window implements this over its widgets; MakeNumber writes them and the readings read them.
class NumberTexts {
public:
    virtual ~NumberTexts() = default;
    // Command1: the large number display (the display text).
    virtual std::string command1Caption() const = 0;
    virtual void setCommand1Caption(const std::string& text) = 0;
    // Command2, hidden: the Japanese reading text.
    virtual std::string command2Caption() const = 0;
    virtual void setCommand2Caption(const std::string& text) = 0;
    // Text2, hidden: the English reading text.
    virtual std::string text2Text() const = 0;
    virtual void setText2Text(const std::string& text) = 0;
};

// The texts kept in memory, for a number drawn away from the window.
class HeldTexts : public NumberTexts {
public:
    std::string command1Caption() const override { return display; }
    void setCommand1Caption(const std::string& text) override { display = text; }
    std::string command2Caption() const override { return japanese; }
    void setCommand2Caption(const std::string& text) override { japanese = text; }
    std::string text2Text() const override { return english; }
    void setText2Text(const std::string& text) override { english = text; }

    std::string display, japanese, english;
};

// Length in characters (code points) of a UTF-8 text, as the controls count it.
int TextLength(const std::string& utf8);

}  // namespace drill
