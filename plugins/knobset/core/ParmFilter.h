// The editor's find field: which parameters a typed text selects.
#pragma once

#include "SharedContext.h"

#include <string>

namespace knobset {

// True when `query` selects `record`: a query of nothing but spaces, dots or
// "Pr" selects every record;
// otherwise the query, ignoring case, spaces, dots and a leading "Pr", is part
// of the record's number as the list shows it ("Pr 104", "0x1a"), or the
// query as typed (ignoring case) is part of its name.
bool MatchesFilter(const ParmRecord& record, int model, const std::string& query);

} // namespace knobset
