// The drive requests a plug-in's jobs send. A plug-in sends them through its
// DriveLink's guarded call, the command-line tool and the tests straight
// through a CModbus master; both expose that master for its timing settings.
// A link that does not carry a kind of request answers it with 0 (failed).
#pragma once

#include "Modbus.h"

#include <type_traits>

class DriveRequests {
public:
    virtual ~DriveRequests() = default;
    virtual int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) = 0;
    virtual int WriteRegisters(unsigned short start, unsigned short count,
                               unsigned short* source) = 0;
    virtual int ReadCoils(unsigned short, unsigned short, unsigned char*) { return 0; }
    virtual int WriteCoils(unsigned short, unsigned short, unsigned char*) { return 0; }
    // `capacity` in and out, as CModbus::ReportSlaveID.
    virtual int ReportSlaveID(char*, unsigned char*) { return 0; }
    virtual CModbus& Master() = 0;
};

// DriveRequests on anything that offers CModbus's request calls: a CModbus
// master itself (no reopen on failure), or a DriveLink's guarded call.
template <class Target>
class DriveRequestsOn : public DriveRequests {
public:
    explicit DriveRequestsOn(Target& target) : target_(target) {}
    int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) override {
        return target_.ReadHoldingRegisters(start, count, dest);
    }
    int WriteRegisters(unsigned short start, unsigned short count,
                       unsigned short* source) override {
        return target_.WriteMultipleRegisters(start, count, source);
    }
    int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) override {
        return target_.ReadCoils(start, count, dest);
    }
    int WriteCoils(unsigned short start, unsigned short count, unsigned char* source) override {
        return target_.WriteMultipleCoils(start, count, source);
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
