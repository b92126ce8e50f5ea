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
    /// Ok: true when the load or save worked.
    explicit operator bool() const { return Ok; }
    /// "FILE: MESSAGE" when it failed, then one line per problem kept.
    std::string Describe() const;
};

/// A 128-bit identifier, by which a format provider is known in the registry.
struct CHARTIX_EXPORT TGUID {
    std::uint32_t D1 = 0;             ///< the first 8 hex digits
    std::uint16_t D2 = 0;             ///< the next 4
    std::uint16_t D3 = 0;             ///< the next 4
    std::array<std::uint8_t, 8> D4{}; ///< the last 16 hex digits, one byte each, in order
    /// Equal when all 128 bits are.
    bool operator==(const TGUID&) const = default;
};

/// The separator between a file's name and the name of one of its layers, in
/// the name that opens one layer of a source of several: "FILE|layername=LAYER".
inline constexpr const char* SourceLayerSeparator = "|layername=";

/// The file of a name that may name a layer: FileName without its "|layername=..." part.
CHARTIX_EXPORT std::string SourceFileOf(const std::string& FileName);
/// The layer a name names: what follows "|layername="; empty when it names none.
CHARTIX_EXPORT std::string SourceLayerOf(const std::string& FileName);

/// Parses the registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
/// EConvertError for anything else.
CHARTIX_EXPORT TGUID StringToGUID(const std::string& S);
/// G in the registry form, with upper-case hex digits.
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
    /// Registers the provider, enabled and not default, ahead of the library's standard
    /// providers (so that it answers first for the files both accept).
    explicit TCustomFormatProvider(Platform::TComponent* Owner);
    /// Leaves the registry.
    ~TCustomFormatProvider() override;

    /// The name of the format, for people (as in a file dialog).
    virtual std::string GetDescription() const = 0;
    /// The file dialog filter: "Description|*.ext" pairs.
    virtual std::string GetFilter() const = 0;
    /// The identifier of the provider, fixed for its kind.
    virtual TGUID GetGUID() const = 0;
    /// Reads the file into Layer; false (or an exception, as the provider documents) when
    /// the file cannot be read.
    virtual bool Load(TMapLayer* Layer, const std::string& FileName) = 0;
    /// Writes Layer's objects to the file; false (or an exception) when it fails.
    virtual bool Save(TMapLayer* Layer, const std::string& FileName) = 0;
    /// Whether the provider takes files of this name (judged by the name, typically
    /// its extension).
    virtual bool CanProcessFile(const std::string& FileName) const = 0;
    /// False when a module the provider needs was not found: Load and Save
    /// then fail with UnavailableReason(). Making the provider never throws.
    virtual bool Available() const { return true; }
    /// Why the provider is not Available, for people; empty when it is.
    virtual std::string UnavailableReason() const { return {}; }

    /// Load with its outcome in one result: exceptions and messages are
    /// caught into it, and a false Load without a stated reason says so.
    TFileResult LoadFile(TMapLayer* Layer, const std::string& FileName);
    /// Save the same way.
    TFileResult SaveFile(TMapLayer* Layer, const std::string& FileName);

    /// GetDescription, as a property.
    std::string Description() const { return GetDescription(); }
    /// GetFilter, as a property.
    std::string Filter() const { return GetFilter(); }
    /// Whether this is the registry's default provider, whose filter a file dialog
    /// preselects. Setting it clears the flag on every other registered provider.
    ///@{
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    ///@}
    /// Whether the registry offers this provider for files (FindSuitableProvider);
    /// on by default.
    ///@{
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    ///@}
    /// What the last Load met and read past (empty after a clean load).
    const TReadProblems& Problems() const { return FProblems; }

protected:
    /// The problems list for the provider's own Load to fill; LoadFile and SaveFile
    /// clear it first.
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
    /// The provider at Index; EListError outside the list.
    ///@{
    TCustomFormatProvider* GetProvider(int Index) const { return Get(Index); }
    void SetProvider(int Index, TCustomFormatProvider* P) { Put(Index, P); }
    TCustomFormatProvider* Providers(int Index) const { return Get(Index); }
    ///@}
    /// The filters of all registered providers, in order, joined by "|": a file dialog
    /// filter offering every format.
    std::string GetFilter() const;
    /// The position of the first Default provider in the list (and so of its filter in
    /// GetFilter), counted from 0; 0 when none is default.
    int GetFilterIndex() const;
    /// The first enabled provider whose CanProcessFile accepts FileName; null for none.
    TCustomFormatProvider* FindSuitableProvider(const std::string& FileName) const;
    /// The descriptions of the registered formats, "A (*.a); B (*.b)", or
    /// "none registered": for messages that say what would have been read.
    std::string AcceptedFormats() const;
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
/// Creates the registry, if there is none yet; called at library start-up.
CHARTIX_EXPORT void CreateFormatProviders();
/// Frees the standard providers and then the registry; called at library shut-down.
CHARTIX_EXPORT void DestroyFormatProviders();
} // namespace Internal

} // namespace Mapobjects
