#include <gtest/gtest.h>

#include "platform/spool/DefaultDestination.h"
#include "platform/spool/DestinationAttributes.h"
#include "platform/spool/JobName.h"
#include "platform/spool/JobOptions.h"
#include "rtl/CodePage1251.h"

using namespace platform::spool;

namespace {

bool ValidUtf8(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size())
        if (rtl::NextUtf8(text, pos) == 0xFFFD)
            return false;
    return true;
}

std::string Option(const JobOptionList& options, const std::string& name) {
    for (const auto& [n, v] : options)
        if (n == name)
            return v;
    return "(none)";
}

// What the cups-pdf queue says of itself.
DestinationAttributes PdfQueue() {
    DestinationAttributes a;
    a.name = "PDF";
    a.copiesUpper = 9999;
    a.sides = {"one-sided"};
    a.sidesDefault = "one-sided";
    a.media = {"na_letter_8.5x11in", "iso_a4_210x297mm", "iso_a3_297x420mm",
               "custom_17x11in_17x11in"};
    a.mediaDefault = "iso_a4_210x297mm";
    a.leftMargins = a.topMargins = a.rightMargins = a.bottomMargins = {0};
    a.orientations = {3, 4, 5, 6};
    a.resolutions = {{150, 150}, {300, 300}, {600, 600}};
    a.resolutionDefault = {300, 300};
    a.scaling = {"auto", "fit", "none"};
    return a;
}

// An office printer: two-sided by default, trays, margins, no custom sizes.
DestinationAttributes OfficePrinter() {
    DestinationAttributes a;
    a.name = "Office";
    a.copiesUpper = 99;
    a.sides = {"one-sided", "two-sided-long-edge", "two-sided-short-edge"};
    a.sidesDefault = "two-sided-long-edge";
    a.media = {"iso_a4_210x297mm", "na_letter_8.5x11in", "iso_a5_148x210mm"};
    a.mediaDefault = "iso_a4_210x297mm";
    a.leftMargins = {0, 423};
    a.topMargins = {423};
    a.rightMargins = {0, 423, 500};
    a.bottomMargins = {};
    a.sources = {"auto", "tray-1", "manual"};
    a.sourceDefault = "tray-1";
    a.orientations = {3, 4};
    a.orientationDefault = 4;
    a.resolutions = {{600, 600}};
    a.documentHandling = {"separate-documents-uncollated-copies",
                          "separate-documents-collated-copies"};
    return a;
}

} // namespace

TEST(JobName, CutsOnCharacterBoundaries) {
    std::string title = "Биоритмы: отчёт за март 2000 года — Zorvane";
    std::string cut = CutToCharacters(title, 31);
    EXPECT_TRUE(ValidUtf8(cut));
    EXPECT_EQ(cut, "Биоритмы: отчёт за март 2000 го");
    EXPECT_EQ(CutToCharacters("short", 31), "short");
    EXPECT_EQ(CutToCharacters("abc", 0), "");
    // A malformed byte counts as one character and is kept as it is.
    EXPECT_EQ(CutToCharacters("a\xFF"
                              "bc",
                              2),
              "a\xFF");
}

TEST(JobName, SafeNamesAreValidUtf8WithoutControlsWithinTheLimit) {
    EXPECT_EQ(SafeJobName("Отчёт\tмарт\n2000"), "Отчёт март 2000");
    EXPECT_EQ(SafeJobName("a\xC3"), "a\xEF\xBF\xBD");
    std::string longName;
    for (int i = 0; i < 300; ++i)
        longName += "ж";
    std::string safe = SafeJobName(longName);
    EXPECT_LE(safe.size(), kMaxJobNameBytes);
    EXPECT_EQ(safe.size(), 254u); // 127 two-byte characters, never half of one
    EXPECT_TRUE(ValidUtf8(safe));
    EXPECT_EQ(SafeJobName(""), "");
}

TEST(DefaultDestination, LpoptionsDefaultIsTheLastDefaultLine) {
    EXPECT_EQ(LpoptionsDefault("Dest PDF sides=one-sided\nDefault Office/draft media=a4\n"),
              "Office/draft");
    EXPECT_EQ(LpoptionsDefault("default A\r\n  DEFAULT   B  \nDest C\n"), "B");
    EXPECT_EQ(LpoptionsDefault("Dest PDF\nDefaultish X\n"), "");
    EXPECT_EQ(LpoptionsDefault(""), "");
}

TEST(DefaultDestination, SourcesInOrderOfPrecedence) {
    const std::vector<std::string> names = {"PDF", "Office", "Lab"};
    DefaultSources s;
    EXPECT_EQ(ChooseDefaultDestination(s, names), "");
    s.server = "PDF";
    EXPECT_EQ(ChooseDefaultDestination(s, names), "PDF");
    s.systemOptions = "Default Lab\n";
    EXPECT_EQ(ChooseDefaultDestination(s, names), "Lab");
    s.userOptions = "Default Office/draft\n"; // an instance prints on its queue
    EXPECT_EQ(ChooseDefaultDestination(s, names), "Office");
    s.printer = "lp"; // the placeholder, not a choice
    EXPECT_EQ(ChooseDefaultDestination(s, names), "Office");
    s.printer = "PDF";
    EXPECT_EQ(ChooseDefaultDestination(s, names), "PDF");
    s.lpdest = "Lab";
    EXPECT_EQ(ChooseDefaultDestination(s, names), "Lab");
    s.chosen = "Office";
    EXPECT_EQ(ChooseDefaultDestination(s, names), "Office");
}

TEST(DefaultDestination, GivenNamesDecideStaleLpoptionsLinesDoNot) {
    const std::vector<std::string> names = {"PDF"};
    DefaultSources s;
    s.server = "PDF";
    s.userOptions = "Default Gone\n";
    EXPECT_EQ(ChooseDefaultDestination(s, names), "PDF");
    s.lpdest = "Gone"; // printing to it would fail: no default at all
    EXPECT_EQ(ChooseDefaultDestination(s, names), "");
    s.lpdest = "file:/tmp/page.pdf"; // the file sink needs no queue
    EXPECT_EQ(ChooseDefaultDestination(s, names), "file:/tmp/page.pdf");
    EXPECT_EQ(ChooseDefaultDestination(DefaultSources{}, {}), "");
}

TEST(DefaultDestination, FileDestinationNames) {
    EXPECT_TRUE(IsFileDestination("file:/tmp/x.pdf"));
    EXPECT_FALSE(IsFileDestination("file:"));
    EXPECT_FALSE(IsFileDestination("PDF"));
    EXPECT_EQ(FileDestinationPath("file:out/x.pdf"), "out/x.pdf");
    EXPECT_EQ(FileDestinationName("/tmp/x.pdf"), "file:/tmp/x.pdf");
}

TEST(DestinationCaps, DeclaredFieldsFollowWhatTheDestinationOffers) {
    DeviceCaps pdf = CapsFromAttributes(PdfQueue());
    EXPECT_EQ(pdf.defaults.fields,
              DM_COPIES | DM_ORIENTATION | DM_PAPERSIZE | DM_PRINTQUALITY | DM_YRESOLUTION);
    EXPECT_EQ(pdf.defaults.paperSize, DMPAPER_A4);
    EXPECT_EQ(pdf.defaults.duplex, DMDUP_SIMPLEX);
    EXPECT_EQ(pdf.defaults.printQuality, 300);
    EXPECT_EQ(pdf.PaperCodes(), (std::vector<int>{DMPAPER_LETTER, DMPAPER_A4, 8, 4}));
    EXPECT_TRUE(pdf.BinCodes().empty());

    DeviceCaps office = CapsFromAttributes(OfficePrinter());
    EXPECT_EQ(office.defaults.fields, DM_COPIES | DM_ORIENTATION | DM_PAPERSIZE | DM_DEFAULTSOURCE |
                                          DM_DUPLEX | DM_COLLATE);
    EXPECT_EQ(office.defaults.duplex, DMDUP_VERTICAL);
    EXPECT_EQ(office.defaults.orientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(office.defaults.defaultSource, DMBIN_USER);
    EXPECT_EQ(office.defaults.mediaSource, "tray-1");
    EXPECT_EQ(office.BinCodes(), (std::vector<int>{DMBIN_AUTO, DMBIN_USER, DMBIN_MANUAL}));
    EXPECT_EQ(office.defaultResolution, (Resolution{600, 600}));
    const MediaEntry* a4 = office.FindMediaByCode(DMPAPER_A4);
    ASSERT_TRUE(a4);
    EXPECT_EQ(a4->left, 423); // bordered margins, not the borderless 0
    EXPECT_EQ(a4->right, 423);
    EXPECT_EQ(a4->bottom, 0);

    DestinationAttributes poor;
    poor.name = "Poor";
    poor.orientations = {3};
    poor.media = {"mystery-paper"};
    DeviceCaps p = CapsFromAttributes(poor);
    EXPECT_EQ(p.defaults.fields, 0u); // one copy, one orientation, no paper it can size
    EXPECT_EQ(p.maxCopies, 1);
}

TEST(JobOptions, TwoSidedOnlyWhenAskedAndOffered) {
    DeviceCaps office = CapsFromAttributes(OfficePrinter());
    DeviceMode mode = office.defaults;
    mode.duplex = DMDUP_SIMPLEX; // the queue prints two-sided unless told
    EXPECT_EQ(Option(BuildJobOptions(office, mode), "sides"), "one-sided");
    mode.duplex = DMDUP_HORIZONTAL;
    EXPECT_EQ(Option(BuildJobOptions(office, mode), "sides"), "two-sided-short-edge");
    mode.fields &= ~DM_DUPLEX; // a record that does not declare duplex asks for none
    EXPECT_EQ(Option(BuildJobOptions(office, mode), "sides"), "one-sided");

    DeviceCaps pdf = CapsFromAttributes(PdfQueue());
    DeviceMode pdfMode = pdf.defaults;
    pdfMode.fields |= DM_DUPLEX;
    pdfMode.duplex = DMDUP_VERTICAL;
    EXPECT_EQ(Option(BuildJobOptions(pdf, pdfMode), "sides"), "one-sided");

    DeviceCaps silent = pdf;
    silent.sides.clear();
    EXPECT_EQ(Option(BuildJobOptions(silent, pdfMode), "sides"), "(none)");
}

TEST(JobOptions, OnlyWhatTheDestinationOffers) {
    DeviceCaps pdf = CapsFromAttributes(PdfQueue());
    DeviceMode mode = pdf.defaults;
    mode.copies = 3;
    mode.orientation = DMORIENT_LANDSCAPE;
    mode.paperSize = 8;
    JobOptionList options = BuildJobOptions(pdf, mode);
    EXPECT_EQ(Option(options, "copies"), "3");
    EXPECT_EQ(Option(options, "orientation-requested"), "4");
    EXPECT_EQ(Option(options, "media"), "iso_a3_297x420mm");
    EXPECT_EQ(Option(options, "media-source"), "(none)");
    EXPECT_EQ(Option(options, "print-scaling"), "none");

    mode.paperSize = 11; // A5 is not offered: the queue keeps its paper
    mode.copies = 100000;
    options = BuildJobOptions(pdf, mode);
    EXPECT_EQ(Option(options, "media"), "iso_a4_210x297mm");
    EXPECT_EQ(Option(options, "copies"), "9999");
    mode.copies = 1; // sent too: the queue's own default might be more
    EXPECT_EQ(Option(BuildJobOptions(pdf, mode), "copies"), "1");
    mode.paperSize = DMPAPER_USER; // no custom sizes on this queue
    mode.paperWidth = 1000;
    mode.paperLength = 1500;
    EXPECT_EQ(Option(BuildJobOptions(pdf, mode), "media"), "iso_a4_210x297mm");

    DeviceCaps office = CapsFromAttributes(OfficePrinter());
    DeviceMode officeMode = office.defaults;
    officeMode.defaultSource = DMBIN_MANUAL;
    EXPECT_EQ(Option(BuildJobOptions(office, officeMode), "media-source"), "manual");
    officeMode.defaultSource = DMBIN_LOWER; // not a tray of this printer
    EXPECT_EQ(Option(BuildJobOptions(office, officeMode), "media-source"), "(none)");
    officeMode.fields &= ~DM_ORIENTATION;
    EXPECT_EQ(Option(BuildJobOptions(office, officeMode), "orientation-requested"), "(none)");

    DeviceCaps file = FileSinkCaps("file:/tmp/x.pdf");
    EXPECT_TRUE(BuildJobOptions(file, file.defaults).empty());
}

TEST(PageGeometry, PaperOffsetsAndPrintableAreaInDevicePixels) {
    DeviceCaps pdf = CapsFromAttributes(PdfQueue());
    PageGeometry g = ComputeGeometry(pdf, pdf.defaults);
    EXPECT_EQ(g.ppiX, 300);
    EXPECT_EQ(g.ppiY, 300);
    EXPECT_EQ(g.paperWidth, 2480); // 210 mm at 300 dpi
    EXPECT_EQ(g.paperHeight, 3508);
    EXPECT_EQ(g.offsetX, 0);
    EXPECT_EQ(g.printableWidth, 2480);

    DeviceCaps office = CapsFromAttributes(OfficePrinter());
    DeviceMode mode = office.defaults;
    mode.orientation = DMORIENT_PORTRAIT;
    g = ComputeGeometry(office, mode);
    EXPECT_EQ(g.paperWidth, 4961);
    EXPECT_EQ(g.offsetX, 100); // 4.23 mm at 600 dpi
    EXPECT_EQ(g.offsetY, 100);
    EXPECT_EQ(g.printableWidth, 4961 - 200);
    EXPECT_EQ(g.printableHeight, 7016 - 100);
    mode.orientation = DMORIENT_LANDSCAPE; // the page's top is the sheet's left edge
    g = ComputeGeometry(office, mode);
    EXPECT_EQ(g.paperWidth, 7016);
    EXPECT_EQ(g.paperHeight, 4961);
    EXPECT_EQ(g.offsetX, 0);   // the sheet's bottom
    EXPECT_EQ(g.offsetY, 100); // the sheet's left
    EXPECT_EQ(g.printableHeight, 4961 - 200);

    DeviceCaps file = FileSinkCaps("file:/tmp/x.pdf");
    DeviceMode custom = file.defaults;
    custom.paperSize = DMPAPER_USER;
    custom.paperWidth = 1000;
    custom.paperLength = 1500;
    g = ComputeGeometry(file, custom);
    EXPECT_EQ(g.paperWidth, 1181);
    EXPECT_EQ(g.paperHeight, 1772);
}
