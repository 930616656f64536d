#include "KnobsetStrings.h"

namespace knobset {
namespace {

const ResString kTexts[] = {
    {200, "Select the source of parameter value would load from:"},
    {201, "FILE        (load value from exist file)"},
    {202, "Default   (load factory default value)"},
    {203, "Reading parameters from drive..."},
    {204, "Read all parameters success."},
    {205, "Read parameters failed."},
    {206, "Parameter Editor"},
    {207, "Parameter Editor (Off-Line)"},
    {208, "Transfer parameters to drive success."},
    {209, "Transfer parameters failed."},
    {210, "Write parameters to EEPROM success."},
    {211, "Write parameters failed."},
    {213, "Transfer parameters to drive..."},
    {214, "Parameters would be saved to drive's EEPROM, would you like to continue?"},
    {215, "This action will reset all parameters to factory default settings, \nAre you sure?"},
    {216, "Write drive EEPROM..."},
    {217, "Initializing drive ..."},
    {218, "Reset all parameters to factory default value success."},
    {219, "Reset parameters failed."},
    {220, "Reset parameters failed. \r\nCheck the drive at servo off status or the control power "
          "r,t voltage correctly."},
    {223, "Knobsetor"},
    {224, "Unsupported StdFile, version: "},
    {225, "Path: "},
    {226, "active ver: "},
    {227, "Initialize"},
    {228, "Open File"},
    {229, "Save File"},
    {230, "Read Drive"},
    {231, "Trans to Drv."},
    {232, "Write EEPROM"},
    {233, "Initialize"},
    {234, "Export"},
    {235, "File"},
    {236, "Drive"},
    {237, "Normal"},
    {238, "Reboot"},
    {239, "ReadOnly"},
    {240, "Reserved"},
    {241, "  Group) All"},
    {242, " 0) Basic"},
    {243, " 1) Gain"},
    {244, " 2) Damping"},
    {245, " 3) V/T/F Ctrl."},
    {246, " 4) I/O"},
    {247, " 5) Enhance"},
    {248, " 6) Special"},
    {249, " 9) Linear"},
    {250, " A) Extend"},
    {251, " F) Factory"},
    {252, "Pr No."},
    {253, "Name"},
    {254, "Min"},
    {255, "Max"},
    {256, "Unit"},
    {257, "Default value"},
    {258, "Setup value"},
    {259, "Confirm"},
    {260, "Cancel"},
    {271, "Unit"},
    {272, "Setup"},
    {273, "Setup"},
    {274, "PrNo not exist"},
    {275, "Select"},
    {276, "Comm"},
    {277, "Edit parameter"},
    {278, "It's need reading parameter from drive before edit value, would you like to Retry "
          "refresh parameters?"},
    {283, "Software Version:%s\nExtern File:%s\nDifferent version can not be opened, please try "
          "again."},
    {284, "File1:"},
    {285, "File2:"},
    {288, "File not selected"},
    {289, "Connection software:"},
    {290, "\nThe connection software is different from the external file model and cannot be "
          "compared."},
    {291, "Please check the drive value limit."},
    {292, "Access parameters may be abnormal when the connection fails, would you like to Retry "
          "refresh parameters?"},
    {300, "%s\nis not a CSV file. Replace it with the export anyway?"},
    {301, "%s\nis not a parameter value file (.tw). Replace it anyway?"},
    {303, "Export page"},
    {304, "Compare files"},
    {305, "Export modified parameter only"},
    {306, "File: [%s] saved."},
    {307, "Cannot create file: %s"},
    {308, "Range:"},
    {309, "Default:"},
    {310, "Takes effect after the drive restarts."},
    {311, "The setup value over the min,max range."},
    {312, "Message"},
    {313, "The communication is in busy state: %s"},
    {314, "Comment"},
    {315, "The parameters hold changes that are neither saved to a file nor transferred to the "
          "drive. Save them to a file?"},
    {316, "Not in drive"},
    {317, "Find:"},
    {318, "Number or part of the name"},
};

} // namespace

VELMORA_MODULE_STRINGS(kKnobsetStrings, kTexts);

std::string FillIn(std::string format, std::initializer_list<std::string> args) {
    std::size_t at = 0;
    for (const std::string& arg : args) {
        at = format.find("%s", at);
        if (at == std::string::npos)
            break;
        format.replace(at, 2, arg);
        at += arg.size();
    }
    return format;
}

} // namespace knobset
