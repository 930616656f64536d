// The drive's answer to Report Slave ID, read into the identity texts, and the
// drive model decided from them. Pure functions over bytes and strings.
#pragma once

#include "SharedContext.h"

#include <cstddef>
#include <string>

// Bytes of additional data the identification asks for (after the slave id and
// the run indicator).
inline constexpr std::size_t kIdentificationBytes = 250;

struct IdentificationTexts {
    // Byte 5 of the data selects a known layout ('2' or '5'); otherwise the
    // three texts below are empty and the identity keeps its previous ones.
    bool layoutKnown = false;
    std::string modelText;   // as the drive sent it
    std::string tableId;     // parameter-table id
    std::string productCode; // product code
    std::string power;       // the signed byte after "w:", in decimal; empty without the marker
    std::string version;     // "a.b.c" of the three signed bytes after "ev:"; empty without it
};

// Reads the identification out of `size` bytes of additional data; bytes past
// `size` count as zero, so a short answer never reads beyond its buffer.
IdentificationTexts ParseIdentification(const unsigned char* data, std::size_t size);

// Writes elements 1 (model text as read), 2, 3, 4 (lower case), 6 and 7.
// Elements 1-4 change only for a known layout.
void StoreIdentification(const IdentificationTexts& texts, DriveIdentity& identity);

// Decides iModel and the parameter-table id (element 3) from the model tag
// (element 2); a tag that names no known model changes neither.
void DecideDriveModel(DriveIdentity& identity, ParmStore& parms);
