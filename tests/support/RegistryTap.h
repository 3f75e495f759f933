#pragma once
// A registry that passes every call to another one; a test overrides the calls it watches or fails.

#include "platform/Registry.h"

namespace zelvo::test {

class RegistryTap : public platform::Registry {
public:
    explicit RegistryTap(platform::Registry& inner) : inner_(inner) {}

    long regOpenKey(platform::HKey parent, const std::string& subKey, platform::RegAccess access,
                    platform::HKey* result) override {
        return inner_.regOpenKey(parent, subKey, access, result);
    }
    long regCreateKey(platform::HKey parent, const std::string& subKey, platform::HKey* result) override {
        return inner_.regCreateKey(parent, subKey, result);
    }
    long regQueryValue(platform::HKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) const override {
        return inner_.regQueryValue(key, name, type, data, size);
    }
    long regSetValue(platform::HKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                     std::uint32_t size) override {
        return inner_.regSetValue(key, name, type, data, size);
    }
    long regEnumValue(platform::HKey key, std::uint32_t index, std::string* name) const override {
        return inner_.regEnumValue(key, index, name);
    }
    long regDeleteKey(platform::HKey parent, const std::string& subKey) override {
        return inner_.regDeleteKey(parent, subKey);
    }
    long regCloseKey(platform::HKey key) override { return inner_.regCloseKey(key); }

private:
    platform::Registry& inner_;
};

}  // namespace zelvo::test
