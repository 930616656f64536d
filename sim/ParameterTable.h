// The parameters of one drive, read from the same definition file (.par) that
// the parameter editor loads, with the register each value lives at.
#pragma once

#include "DriveModel.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace drivesim {

// A product data file that cannot serve: the message names file and line.
class ProductDataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How a value occupies its registers.
enum class ValueShape {
    Word,      // one register, signed 16 bits
    Long,      // two registers, low word first, written together
    SplitLong, // two registers, low word first, written one at a time (T8 1201, 1217, 1219)
};

struct Parameter {
    int number = 0;
    std::uint16_t address = 0; // first register
    ValueShape shape = ValueShape::Word;
    std::int32_t min = 0;
    std::int32_t max = 0;
    std::int32_t defaultValue = 0;
    bool reboot = false;   // takes effect after a restart of the drive
    bool reserved = false; // greyed out in the editor
};

class ParameterTable {
public:
    // Reads `<dataDir>/<table id>.par` for the model. Throws ProductDataError
    // for a missing, oversized, binary or malformed file, or for a table whose
    // register layout the tools could not work with.
    static ParameterTable Load(DriveModel model, const std::string& dataDir);
    // Parses the text of a definition file; `origin` names it in messages.
    static ParameterTable Parse(DriveModel model, const std::string& text,
                                const std::string& origin);

    DriveModel Model() const { return model_; }
    const std::vector<Parameter>& Parameters() const { return parameters_; }
    // Position of a parameter number in Parameters(), or -1.
    int Find(int number) const;

private:
    DriveModel model_ = DriveModel::T5;
    std::vector<Parameter> parameters_;
};

// Largest definition file accepted; ours are a few tens of kilobytes.
constexpr std::size_t kMaxTableFileBytes = 4u << 20;

} // namespace drivesim
