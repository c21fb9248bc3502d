#include "pages/OptionSheets.h"

#include "pages/PageSpecs.h"
#include "platform/DialogTemplate.h"

using CK = ControlKind;

// The closing row every sheet shares.
static constexpr ControlTemplate kSheetButtons[] = {
    {kSheetOk, CK::Button, kControlButtonRow | kControlDefault, "OK", 0},
    {kSheetCancel, CK::Button, kControlButtonRow, "Cancel", 0},
    {kSheetApply, CK::Button, kControlButtonRow, "Apply", 0},
};

// ---- Sheet ----

static constexpr DialogTemplate kOutputDialog = {
    kSheetOutputId, "Output policies for generated RTF file(s)", kSheetButtons};
static constexpr const PageSpec* kOutputMembers[] = {
    &kHyperlinksPage, &kFileGenRTFPage, &kFontPage, &kMakeHelpPage,
    &kPreProPage, &kRTFDocumentPage, &kRTFFormatPage, &kRTFSettingsPage};
static constexpr const PageSpec* kOutputTabs[] = {
    &kRTFDocumentPage, &kFileGenRTFPage, &kFontPage, &kRTFFormatPage,
    &kHyperlinksPage, &kPreProPage, &kRTFSettingsPage};
static constexpr PageCodeTarget kOutputCodes[] = {
    {12, &kFileGenRTFPage}, {15, &kFontPage},     {19, &kHyperlinksPage},
    {28, &kPreProPage},     {29, &kRTFFormatPage}, {30, &kRTFSettingsPage},
};
static constexpr SheetSpec kOutputSpec = {
    &kOutputDialog, 686, kOutputMembers, kOutputTabs, kOutputMembers, kOutputMembers,
    kOutputCodes, &kRTFDocumentPage, SheetPlacement::BottomRight, false};

// ---- SheetAnalysis ----

static constexpr DialogTemplate kAnalysisDialog = {
    kSheetAnalysisId, "Analysis policies for input text file(s)", kSheetButtons};
static constexpr const PageSpec* kAnalysisMembers[] = {
    &kLookForPage, &kAnalysisPage, &kBulletsPage, &kHeadingPage,
    &kContentsPage, &kFileStructPage, &kPreFormatPage, &kTabAnalPage};
static constexpr const PageSpec* kAnalysisTabs[] = {
    &kLookForPage, &kAnalysisPage, &kBulletsPage, &kContentsPage,
    &kFileStructPage, &kHeadingPage, &kPreFormatPage, &kTabAnalPage};
static constexpr const PageSpec* kAnalysisSaveOrder[] = {
    &kAnalysisPage, &kLookForPage, &kBulletsPage, &kHeadingPage,
    &kContentsPage, &kFileStructPage, &kPreFormatPage, &kTabAnalPage};
static constexpr PageCodeTarget kAnalysisCodes[] = {
    {2, &kAnalysisPage},    {3, &kBulletsPage},   {5, &kContentsPage},
    {14, &kFileStructPage}, {17, &kHeadingPage},  {20, &kLookForPage},
    {27, &kPreFormatPage},  {39, &kTabAnalPage},
};
static constexpr SheetSpec kAnalysisSpec = {
    &kAnalysisDialog, 685, kAnalysisMembers, kAnalysisTabs, kAnalysisMembers,
    kAnalysisSaveOrder, kAnalysisCodes, nullptr, SheetPlacement::BottomLeft, false};

// ---- SheetConfig ----

static constexpr DialogTemplate kConfigDialog = {kSheetConfigId, "Configuration Files",
                                                 kSheetButtons};
static constexpr const PageSpec* kConfigMembers[] = {&kLinkDictPage, &kSDFPage, &kTDFPage,
                                                     &kTextSubsPage};
static constexpr PageCodeTarget kConfigCodes[] = {
    {31, &kSDFPage}, {42, &kTDFPage}, {51, &kTextSubsPage}};
static constexpr SheetSpec kConfigSpec = {
    &kConfigDialog, 687, kConfigMembers, kConfigMembers, kConfigMembers, kConfigMembers,
    kConfigCodes, &kLinkDictPage, SheetPlacement::BottomLeft, false};

// ---- SheetSettings ----

static constexpr DialogTemplate kSettingsDialog = {kSheetSettingsId, "Program Settings",
                                                   kSheetButtons};
static constexpr const PageSpec* kSettingsMembers[] = {
    &kSettingsDragPage, &kSettingsDocoPage, &kSettingsViewerPage, &kSettingsPolicyPage,
    &kSettingsMessagesPage};
static constexpr const PageSpec* kSettingsTabs[] = {
    &kSettingsDocoPage, &kSettingsDragPage, &kSettingsMessagesPage, &kSettingsPolicyPage,
    &kSettingsViewerPage};
// Loaded and saved in this order.
static constexpr const PageSpec* kSettingsFanOut[] = {
    &kSettingsPolicyPage, &kSettingsViewerPage, &kSettingsDragPage, &kSettingsDocoPage,
    &kSettingsMessagesPage};
static constexpr PageCodeTarget kSettingsCodes[] = {
    {32, &kSettingsDragPage}, {33, &kSettingsDocoPage}, {36, &kSettingsMessagesPage},
    {37, &kSettingsPolicyPage}};
static constexpr SheetSpec kSettingsSpec = {
    &kSettingsDialog, 688, kSettingsMembers, kSettingsTabs, kSettingsFanOut, kSettingsFanOut,
    kSettingsCodes, &kSettingsViewerPage, SheetPlacement::NearCentre, true};

const SheetSpec& OutputSheetSpec() { return kOutputSpec; }
const SheetSpec& AnalysisSheetSpec() { return kAnalysisSpec; }
const SheetSpec& ConfigSheetSpec() { return kConfigSpec; }
const SheetSpec& SettingsSheetSpec() { return kSettingsSpec; }

Sheet::Sheet(SheetHost& host, std::string caption)
    : BaseSheet(host, kOutputSpec, std::move(caption)) {}
SheetAnalysis::SheetAnalysis(SheetHost& host, std::string caption)
    : BaseSheet(host, kAnalysisSpec, std::move(caption)) {}
SheetConfig::SheetConfig(SheetHost& host, std::string caption)
    : BaseSheet(host, kConfigSpec, std::move(caption)) {}
SheetSettings::SheetSettings(SheetHost& host, std::string caption)
    : BaseSheet(host, kSettingsSpec, std::move(caption)) {}
