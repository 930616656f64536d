// The texts of the trigger panel's lists: the five conditions and the four
// combinations, from the language's trigger-choice file ("trENG.lng" and
// the like, a private-profile file) or built in.
#pragma once

#include <string>
#include <vector>

namespace tracelens {

struct TriggerChoices {
    std::vector<std::string> conditions;   // 5: positive edge .. below level
    std::vector<std::string> combinations; // 4: trigger 1 only .. trigger 2 only
};

// The built-in English texts.
TriggerChoices DefaultTriggerChoices();

// Section "Setup" gives "iQtyCS" and "iQtyCC"; sections "Data1".."Data<iQtyCS>"
// name the conditions in key "Name", the sections after them the
// combinations. A text the file lacks keeps its built-in one.
TriggerChoices LoadTriggerChoices(const std::string& path);


} // namespace tracelens
