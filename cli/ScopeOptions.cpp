#include "ScopeCommand.h"

#include <cstdlib>

namespace velmora::cli {

namespace {

bool Number(const std::string& text, double low, double high, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end != nullptr && *end == '\0' && value >= low && value <= high;
}

// "N:COND:LEVEL", COND one of rise, fall, either, above, below.
bool ParseTrigger(const std::string& text, ScopeOptions& scope) {
    const std::size_t a = text.find(':');
    const std::size_t b = text.find(':', a == std::string::npos ? a : a + 1);
    if (a == std::string::npos || b == std::string::npos)
        return false;
    static const char* const kConditions[] = {"rise", "fall", "either", "above", "below"};
    double signal, level;
    if (!Number(text.substr(0, a), 1, 4, signal) ||
        !Number(text.substr(b + 1), -2147483648.0, 2147483647.0, level))
        return false;
    const std::string condition = text.substr(a + 1, b - a - 1);
    for (int c = 0; c < 5; ++c) {
        if (condition == kConditions[c]) {
            scope.triggered = true;
            scope.triggerSignal = static_cast<int>(signal);
            scope.triggerCondition = c;
            scope.triggerLevel = static_cast<long>(level);
            return true;
        }
    }
    return false;
}

} // namespace

bool ParseScopeOptions(const std::vector<std::string>& words, ScopeOptions& scope,
                       std::string& error) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& flag = words[i];
        if (i + 1 >= words.size() && flag != "--block") {
            error = "scope: " + flag + " needs a value";
            return false;
        }
        const std::string value = flag == "--block" ? "" : words[++i];
        double number = 0;
        bool ok = true;
        if (flag == "--signal") {
            ScopeSignalChoice choice{value, false};
            if (value.size() > 3 && value.compare(value.size() - 3, 3, ":32") == 0) {
                choice.spec = value.substr(0, value.size() - 3);
                choice.wide = true;
            }
            scope.choices.push_back(choice);
        } else if (flag == "--time-base") {
            ok = Number(value, 1, 300, number);
            scope.timeBase = static_cast<int>(number);
        } else if (flag == "--stream") {
            ok = Number(value, 0.001, 3600, scope.streamSeconds);
        } else if (flag == "--block") {
            scope.block = true;
        } else if (flag == "--trigger") {
            ok = ParseTrigger(value, scope);
        } else if (flag == "--delay") {
            ok = Number(value, 1, 3000, number);
            scope.delay = static_cast<int>(number);
        } else if (flag == "--timeout") {
            ok = Number(value, 0.1, 3600, scope.timeoutSeconds);
        } else if (flag == "--out") {
            scope.out = value;
        } else if (flag == "--app-dir") {
            scope.appDir = value;
        } else if (flag == "--language") {
            scope.languageId = value == "ENG"   ? 1000
                               : value == "CHT" ? 1001
                               : value == "CHS" ? 1002
                                                : 0;
            ok = scope.languageId != 0;
        } else {
            error = "scope: unknown option " + flag;
            return false;
        }
        if (!ok) {
            error = "scope: invalid value for " + flag + ": \"" + value + "\"";
            return false;
        }
    }
    if (scope.choices.empty() || scope.choices.size() > 4) {
        error = "scope: give one to four --signal";
        return false;
    }
    // A block, a stream for a time, or (with a trigger) one streamed frame.
    const bool stream = scope.streamSeconds > 0;
    if ((scope.block && stream) || (!scope.block && !stream && !scope.triggered)) {
        error = "scope: give either --stream SECONDS or --block (or a --trigger)";
        return false;
    }
    if (scope.block && scope.timeBase > 45) {
        error = "scope: a High Sample block takes a time base of 1..45 ms";
        return false;
    }
    if (scope.triggered && scope.triggerSignal > static_cast<int>(scope.choices.size())) {
        error = "scope: the trigger names signal " + std::to_string(scope.triggerSignal) + " of " +
                std::to_string(scope.choices.size());
        return false;
    }
    return true;
}

} // namespace velmora::cli
