// The drive requests the tuning commands need. The plug-in sends them
// through its DriveLink's guarded call; the tests may send them straight
// through a CModbus master.
#pragma once

#include "Modbus.h"

#include <type_traits>

namespace gainwise {

class TuningLink {
public:
    virtual ~TuningLink() = default;
    virtual int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) = 0;
    virtual int WriteRegisters(unsigned short start, unsigned short count,
                               unsigned short* source) = 0;
    virtual int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) = 0;
    virtual int WriteCoils(unsigned short start, unsigned short count, unsigned char* source) = 0;
    virtual CModbus& Master() = 0;
};

template <class Target>
class TuningLinkOn : public TuningLink {
public:
    explicit TuningLinkOn(Target& target) : target_(target) {}
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
    CModbus& Master() override {
        if constexpr (std::is_same_v<Target, CModbus>)
            return target_;
        else
            return target_.modbus;
    }

private:
    Target& target_;
};

} // namespace gainwise
