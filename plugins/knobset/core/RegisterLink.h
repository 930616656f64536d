// The drive requests the parameter jobs need. The plug-in sends them through
// its DriveLink's guarded call, the command-line tool straight through a
// CModbus master; both expose that master for its timing settings.
#pragma once

#include "Modbus.h"

#include <type_traits>

namespace knobset {

class RegisterLink {
public:
    virtual ~RegisterLink() = default;
    virtual int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) = 0;
    virtual int WriteRegisters(unsigned short start, unsigned short count,
                               unsigned short* source) = 0;
    // `capacity` in and out, as CModbus::ReportSlaveID.
    virtual int ReportSlaveID(char* data, unsigned char* capacity) = 0;
    virtual CModbus& Master() = 0;
};

// A RegisterLink on anything that offers CModbus's request calls: a CModbus
// master itself (no reopen on failure), or a DriveLink's guarded call.
template <class Target>
class RegisterLinkOn : public RegisterLink {
public:
    explicit RegisterLinkOn(Target& target) : target_(target) {}
    int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) override {
        return target_.ReadHoldingRegisters(start, count, dest);
    }
    int WriteRegisters(unsigned short start, unsigned short count,
                       unsigned short* source) override {
        return target_.WriteMultipleRegisters(start, count, source);
    }
    int ReportSlaveID(char* data, unsigned char* capacity) override {
        return target_.ReportSlaveID(data, capacity, nullptr, nullptr);
    }
    CModbus& Master() override {
        if constexpr (std::is_same_v<Target, CModbus>)
            return target_;
        else
            return target_.modbus;
    }

private:
    Target& target_;
};

using ModbusRegisterLink = RegisterLinkOn<CModbus>;

} // namespace knobset
