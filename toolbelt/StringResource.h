// One module's language table: the texts of a ".lng" file, looked up by id,
// falling back to the module's compiled-in string resources.
#pragma once

#include "ModuleStrings.h"

#include <string>
#include <vector>

class CStringResource {
public:
    // `module` points to the variable holding the module's resource handle; it
    // is read at each lookup, so the handle may be set after construction.
    explicit CStringResource(ModuleHandle* module);
    ~CStringResource();
    CStringResource(const CStringResource& other);
    CStringResource& operator=(const CStringResource& other);

    // Loads a ".lng" file. Returns 1 when the file could be opened (the table
    // then holds whatever it contained, possibly nothing), 0 when it could not
    // (the previous table is kept).
    int ReadTableFile(const char* path);

    // The table's first entry for `id`; when there is none or it is empty, the
    // module's resource text; empty when neither exists.
    std::string GetResString(unsigned id) const;

    // Writes every non-empty resource text with an id from 0 to `highestId`
    // into section "StringTable" of `path`, escaping TAB, CR and LF.
    void CreateTableFile(const char* path, unsigned highestId) const;

    struct Entry {
        unsigned id;
        std::string text;
    };
    const std::vector<Entry>& Entries() const { return *table_; }

private:
    ModuleHandle* module_;
    std::vector<Entry>* table_;
};
