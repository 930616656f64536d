// The drive requests the parameter jobs need. The plug-in sends them through
// its DriveLink's guarded call, the command-line tool straight through a
// CModbus master; both expose that master for its timing settings.
#pragma once

#include "Modbus.h"

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

// A RegisterLink straight on a CModbus master (no reopen on failure).
class ModbusRegisterLink : public RegisterLink {
public:
    explicit ModbusRegisterLink(CModbus& master) : master_(master) {}
    int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) override {
        return master_.ReadHoldingRegisters(start, count, dest);
    }
    int WriteRegisters(unsigned short start, unsigned short count,
                       unsigned short* source) override {
        return master_.WriteMultipleRegisters(start, count, source);
    }
    int ReportSlaveID(char* data, unsigned char* capacity) override {
        return master_.ReportSlaveID(data, capacity, nullptr, nullptr);
    }
    CModbus& Master() override { return master_; }

private:
    CModbus& master_;
};

} // namespace knobset
