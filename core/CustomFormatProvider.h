#pragma once
// Format providers: components that load a layer from a file format and save
// it back. Every provider registers itself in the process-wide registry from
// construction to destruction; layers ask the registry for the first enabled
// provider that accepts a file name.

#include "../platform/Classes.h"
#include "ChartixExport.h"
#include "ReadProblems.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Mapobjects {

class TMapLayer;

/// What a load or a save came to, the same for every provider: whether it
/// worked, why not when it did not, and what was met and read past on the
/// way (each problem with its file and line). A message the provider would
/// have shown in a box is among the problems instead.
struct CHARTIX_EXPORT TFileResult {
    bool Ok = false;        ///< the layer was loaded (or saved)
    std::string FileName;   ///< the file asked for
    std::string Message;    ///< why it failed; empty when Ok
    TReadProblems Problems; ///< met on the way, also when Ok
    explicit operator bool() const { return Ok; }
    /// "FILE: MESSAGE" when it failed, then one line per problem kept.
    std::string Describe() const;
};

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

/// The base of format providers: loads a layer from a file format and saves
/// it back.
///
/// The error contract. Load and Save are the providers' own and behave as
/// each documents (a bool, Problems(), an exception naming the file, or a
/// message through Platform::MessageDlg, which shows nothing unless the host
/// installed a message hook). LoadFile and SaveFile wrap them for callers
/// that want one answer: they never throw, show no message, and return a
/// TFileResult. A provider whose module is missing (Available() false) can
/// still be made; its LoadFile and SaveFile fail with UnavailableReason().
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

    /// Load with its outcome in one result: exceptions and messages are
    /// caught into it, and a false Load without a stated reason says so.
    TFileResult LoadFile(TMapLayer* Layer, const std::string& FileName);
    /// Save the same way.
    TFileResult SaveFile(TMapLayer* Layer, const std::string& FileName);

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
    TFormatProviders() = default;
    TFormatProviders(const TFormatProviders&) = delete;
    TFormatProviders& operator=(const TFormatProviders&) = delete;
    ~TFormatProviders() override;
    TCustomFormatProvider* GetProvider(int Index) const { return Get(Index); }
    void SetProvider(int Index, TCustomFormatProvider* P) { Put(Index, P); }
    TCustomFormatProvider* Providers(int Index) const { return Get(Index); }
    std::string GetFilter() const;
    int GetFilterIndex() const;
    TCustomFormatProvider* FindSuitableProvider(const std::string& FileName) const;
    /// Full 128-bit comparison: two providers differing anywhere are distinct.
    TCustomFormatProvider* GetProviderByGUID(const TGUID& GUID) const;

    /// Keeps P, one of the library's own providers, at the end of the list
    /// (a program's own providers go ahead of these) until shut-down.
    void AdoptStandard(std::unique_ptr<TCustomFormatProvider> P);
    /// Whether P was adopted by AdoptStandard.
    bool IsStandard(const TCustomFormatProvider* P) const;
    /// Frees the adopted providers; each leaves the list as it goes.
    void DestroyStandard();

private:
    std::vector<std::unique_ptr<TCustomFormatProvider>> FStandard;
};

/// The process-wide registry; null outside library start-up and shut-down.
CHARTIX_EXPORT TFormatProviders* FormatProviders();

namespace Internal {
CHARTIX_EXPORT void CreateFormatProviders();
CHARTIX_EXPORT void DestroyFormatProviders();
} // namespace Internal

} // namespace Mapobjects
