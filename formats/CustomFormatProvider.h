#pragma once
// Format providers: components that load a layer from a file format and save
// it back. Every provider registers itself in the process-wide registry from
// construction to destruction; layers ask the registry for the first enabled
// provider that accepts a file name.

#include "../core/ChartixExport.h"
#include "../platform/Classes.h"
#include "ReadProblems.h"

#include <array>
#include <cstdint>
#include <string>

namespace Mapobjects {

class TMapLayer;

struct CHARTIX_EXPORT TGUID {
    std::uint32_t D1 = 0;
    std::uint16_t D2 = 0;
    std::uint16_t D3 = 0;
    std::array<std::uint8_t, 8> D4{};
    bool operator==(const TGUID&) const = default;
};

/// Parses the registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
/// EConvertError for anything else.
CHARTIX_EXPORT TGUID StringToGUID(const std::string& S);
CHARTIX_EXPORT std::string GUIDToString(const TGUID& G);

class CHARTIX_EXPORT TCustomFormatProvider : public Platform::TComponent {
public:
    explicit TCustomFormatProvider(Platform::TComponent* Owner);
    ~TCustomFormatProvider() override;

    virtual std::string GetDescription() const = 0;
    virtual std::string GetFilter() const = 0;
    virtual TGUID GetGUID() const = 0;
    virtual bool Load(TMapLayer* Layer, const std::string& FileName) = 0;
    virtual bool Save(TMapLayer* Layer, const std::string& FileName) = 0;
    virtual bool CanProcessFile(const std::string& FileName) const = 0;
    /// False when a module the provider needs was not found: Load and Save
    /// then fail with UnavailableReason(). Making the provider never throws.
    virtual bool Available() const { return true; }
    virtual std::string UnavailableReason() const { return {}; }

    std::string Description() const { return GetDescription(); }
    std::string Filter() const { return GetFilter(); }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    /// What the last Load met and read past (empty after a clean load).
    const TReadProblems& Problems() const { return FProblems; }

protected:
    TReadProblems& ProblemList() { return FProblems; }

private:
    TReadProblems FProblems;
    bool FDefault = false;
    bool FEnabled = true;
};

/// The registry: provider references in registration order; owns none.
class CHARTIX_EXPORT TFormatProviders : public Platform::TList<TCustomFormatProvider> {
public:
    TCustomFormatProvider* GetProvider(int Index) const { return Get(Index); }
    void SetProvider(int Index, TCustomFormatProvider* P) { Put(Index, P); }
    TCustomFormatProvider* Providers(int Index) const { return Get(Index); }
    std::string GetFilter() const;
    int GetFilterIndex() const;
    TCustomFormatProvider* FindSuitableProvider(const std::string& FileName) const;
    /// Full 128-bit comparison: two providers differing anywhere are distinct.
    TCustomFormatProvider* GetProviderByGUID(const TGUID& GUID) const;
};

/// The process-wide registry; null outside library start-up and shut-down.
CHARTIX_EXPORT TFormatProviders* FormatProviders();

namespace Internal {
CHARTIX_EXPORT void CreateFormatProviders();
CHARTIX_EXPORT void DestroyFormatProviders();
} // namespace Internal

} // namespace Mapobjects
