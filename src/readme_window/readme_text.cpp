#include "readme_text.h"

#include <string_view>

namespace dv {

namespace {

// Some lines end in blanks; they are part of the text as designed.
constexpr std::string_view kLines[] = {
    "Thank you for using Free Dayvane.",
    "Hope you find it useful and handy.",
    "",
    "The photo appearing in the calendar can be changed with",
    "one of your favorites photos that can be your friend, family,",
    "boyfriend of girlfriend.",
    "",
    "",
    "",
    "",
    "a price of  USD 5.00. Further, if you wish to have a ",
    "",
    "priced at 10.00",
    "",
    "If interested, please visit our web site (check \"About\")                      ",
    "                                                                               ",
    "There are two options provided in this Dayvane.",
    "You are advised to check them out and add ",
    "Dayvane to startup menu which means the",
    "Dayvane will start automatically with Windows.",
    "",
    "Good day",
    "",
    "Keep Smiling !",
};

std::string joined() {
    std::string text;
    for (std::string_view line : kLines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace

const std::string& readmeText() {
    static const std::string text = joined();
    return text;
}

}  // namespace dv
