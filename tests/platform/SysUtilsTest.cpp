// Numbers, strings, file names, dates and message hooks of the platform layer.
#include "platform/SysUtils.h"
#include "platform/Dialogs.h"
#include "platform/Trace.h"
#include "support/TestUtils.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace Platform;
using Testing::MessageOf;

namespace {

// Restores the process-wide settings a test changes.
struct SettingsGuard {
    TFormatSettings Saved = FormatSettings();
    ~SettingsGuard() { FormatSettings() = Saved; }
};

} // namespace

TEST(SysUtilsNumbers, IntegerTextAcceptsOnlyWholeNumbersInRange) {
    EXPECT_EQ(IntToStr(-9223372036854775807LL - 1), "-9223372036854775808");
    for (auto [Text, Want] : {std::pair{"  -42 ", -42},
                              {"+7", 7},
                              {"2147483647", 2147483647},
                              {"-2147483648", -2147483647 - 1}})
        EXPECT_EQ(StrToInt(Text), Want) << Text;
    int V = 99;
    for (const char* Bad : {"", " ", "-", "+-1", "12a", "1 2", "0x10", "1.0", "2147483648"})
        EXPECT_FALSE(TryStrToInt(Bad, V)) << Bad;
    EXPECT_EQ(V, 99);
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt("abc"); }),
              "'abc' is not a valid integer value");
}

TEST(SysUtilsNumbers, FloatTextIsFifteenDigitGeneralFormWithTheSettingsSeparator) {
    // The last two: rounding to 15 digits carries into the exponent, or away.
    std::string All;
    for (double V : {0.0, 2.5, 1000.0, 0.1, -0.5, 1e20, 1.5e-7, 1e-5, 1.25e-6, 1e14, 1e15, -2.5e300,
                     123456789012345678.0, 1.0 / 3, 999999999999999.9, 0.30000000000000004})
        All += FloatToStr(V) + " ";
    EXPECT_EQ(All, "0 2.5 1000 0.1 -0.5 1E20 1.5E-7 0.00001 1.25E-6 100000000000000 1E15 -2.5E300 "
                   "1.23456789012346E17 0.333333333333333 1E15 0.3 ");

    for (auto [Text, Want] : {std::pair{" -1.5e3 ", -1500.0}, {"+.5", 0.5}, {"7.", 7.0}})
        EXPECT_DOUBLE_EQ(StrToFloat(Text), Want) << Text;
    double V = 11;
    for (const char* Bad : {"", ".", "-", "inf", "nan", "1.5x", "1e", "1e+", "1,5", "0x1p3", "--1"})
        EXPECT_FALSE(TryStrToFloat(Bad, V)) << Bad;
    EXPECT_EQ(V, 11);
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToFloat("1..2"); }),
              "'1..2' is not a valid floating point value");

    // The decimal separator comes from the settings, not the locale.
    SettingsGuard Guard;
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(FloatToStr(2.5e-9), "2,5E-9");
    EXPECT_DOUBLE_EQ(StrToFloat("3,75"), 3.75);
    EXPECT_FALSE(TryStrToFloat("3.75", V));
}

TEST(SysUtilsNumbers, RoundTakesHalvesToEven) {
    std::string All;
    for (double V : {2.5, 3.5, -2.5, -3.5, -0.6, 2.4999999, 4503599627370497.0})
        All += std::to_string(Round(V)) + " ";
    EXPECT_EQ(All, "2 4 -2 -4 -1 2 4503599627370497 ");
    EXPECT_THROW(Round(1e19), EInvalidOp);
    EXPECT_THROW(Round(std::nan("")), EInvalidOp);
}

TEST(SysUtilsFiles, NamePartsComeFromTheLastPathElementAndDotsFold) {
    const std::tuple<const char*, const char*, const char*, const char*> Parts[] = {
        // path, name, extension, folder
        {"/data/v1.2/roads.TAB", "roads.TAB", ".TAB", "/data/v1.2/"},
        {"/data/v1.2/roads", "roads", "", "/data/v1.2/"},
        {"a.tar.gz", "a.tar.gz", ".gz", ""}};
    for (auto [Path, Name, Ext, Folder] : Parts) {
        EXPECT_EQ(ExtractFileName(Path), Name);
        EXPECT_EQ(ExtractFileExt(Path), Ext);
        EXPECT_EQ(ExtractFilePath(Path), Folder);
    }
    EXPECT_EQ(ChangeFileExt("/data/v1.2/roads.tab", ".mid"), "/data/v1.2/roads.mid");
    EXPECT_EQ(ChangeFileExt("/data/v1.2/roads", ".mif"), "/data/v1.2/roads.mif");
    EXPECT_EQ(ChangeFileExt("roads.tab", ""), "roads");

    EXPECT_EQ(ExpandFileName("/a/./b/../c"), "/a/c");
}

TEST(SysUtilsDates, EncodeAndDecodeAroundTheEpoch) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2); // 2000 is a leap year
    EXPECT_EQ(EncodeDate(1900, 3, 1) - EncodeDate(1900, 2, 28), 1); // 1900 is not
    TDateTime V = 0;
    const int Bad[][3] = {{2023, 2, 29}, {2024, 4, 31}, {2024, 13, 1},
                          {0, 1, 1},     {10000, 1, 1}, {2024, 1, 0}};
    for (auto [Y, M, D] : Bad)
        EXPECT_FALSE(TryEncodeDate(Y, M, D, V)) << Y << "-" << M << "-" << D;
    EXPECT_EQ(MessageOf<EConvertError>([] { EncodeDate(2023, 2, 29); }),
              "Invalid argument to date encode");
    EXPECT_EQ(MessageOf<EConvertError>([] { EncodeTime(24, 0, 0, 0); }),
              "Invalid argument to time encode");

    for (auto [Y, M, D] : {std::tuple{1, 1, 1}, {1752, 9, 14}, {2024, 2, 29}, {9999, 12, 31}}) {
        int Y2, M2, D2;
        DecodeDate(EncodeDate(Y, M, D), Y2, M2, D2);
        EXPECT_EQ(std::tuple(Y2, M2, D2), std::tuple(Y, M, D));
    }
    // Before the epoch the time of day still counts forward: -1.25 is 29 Dec, 06:00.
    int Y, M, D, H, N, S, Z;
    DecodeDate(-1.25, Y, M, D);
    DecodeTime(-1.25, H, N, S, Z);
    EXPECT_EQ(std::tuple(Y, M, D, H, N), std::tuple(1899, 12, 29, 6, 0));
    // Just short of midnight rounds to the next day, not to 24:00.
    DecodeTime(0.99999999999, H, N, S, Z);
    EXPECT_EQ(std::tuple(H, N, S, Z), std::tuple(0, 0, 0, 0));
    EXPECT_EQ(DateTimeToStr(0.99999999999), "1899-12-31");
    // Values without a calendar form are refused, not decoded into nonsense.
    const double First = EncodeDate(1, 1, 1), Last = EncodeDate(9999, 12, 31) + 0.5;
    EXPECT_EQ(DateTimeToStr(Last), "9999-12-31 12:00:00");
    for (double Outside : {First - 1e-3, Last + 1, 1e300, std::nan("")})
        EXPECT_THROW(DateTimeToStr(Outside), EConvertError) << Outside;
}

TEST(SysUtilsDates, FormatsFollowTheirTokensAndTheShortDateFormat) {
    TDateTime V = EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 45);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", V), "2024-03-05 07:08:09.045");
    EXPECT_EQ(FormatDateTime("d/m/yy h:n:s", V), "5/3/24 7:8:9");
    EXPECT_EQ(FormatDateTime("[DD.MM.YYYY] 'at' hh", V), "[05.03.2024] at 07");
    EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(987, 6, 5)), "0987");
    EXPECT_EQ(TimeToStr(V), "07:08:09");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5)), "2024-03-05");
    SettingsGuard Guard;
    FormatSettings().ShortDateFormat = "dd.mm.yyyy";
    EXPECT_EQ(DateToStr(V), "05.03.2024");
}

TEST(SysUtilsDates, ParsingFollowsTheShortDateFormatsOrder) {
    for (const char* Good : {"2024-03-05", " 2024/3/5 ", "20240305"})
        EXPECT_EQ(StrToDate(Good), EncodeDate(2024, 3, 5)) << Good;
    TDateTime V = 0;
    for (const char* Bad : {"", "2024-03", "2024-02-30", "2024-03-05-01", "x2024-03-05",
                            "2024-3-5x", "202403051", "2024-003-05"})
        EXPECT_FALSE(TryStrToDate(Bad, V)) << Bad;
    for (auto [Text, Time] : {std::pair{"7:08", EncodeTime(7, 8, 0, 0)},
                              {" 23:59:58 ", EncodeTime(23, 59, 58, 0)},
                              {"10:20:30.045", EncodeTime(10, 20, 30, 45)},
                              {"10:20:30.5", EncodeTime(10, 20, 30, 500)}})
        EXPECT_EQ(StrToTime(Text), Time) << Text;
    for (const char* Bad : {"", "7", "24:00", "12:60", "12:00:61", "12:00:00.", "12:00.5",
                            "12:00:00.1234", "1:2:3:4", "12-00"})
        EXPECT_FALSE(TryStrToTime(Bad, V)) << Bad;
    EXPECT_THROW(StrToTime("noon"), EConvertError);

    SettingsGuard Guard;
    FormatSettings().ShortDateFormat = "dd.mm.yyyy";
    EXPECT_EQ(StrToDate("5 3 24"), EncodeDate(2024, 3, 5));
    FormatSettings().ShortDateFormat = "m/d/yyyy";
    EXPECT_EQ(StrToDate("3/5/2024"), EncodeDate(2024, 3, 5));
}

TEST(Hooks, MessagesAreRecordedAndAnsweredAffirmativelyTracesReachASetSink) {
    RecordedMessages().clear();
    EXPECT_EQ(MessageDlg("Delete layer?", mtConfirmation, mbYesNo), mrYes);
    EXPECT_EQ(MessageDlg("Save?", mtConfirmation, mbOKCancel), mrOk);
    ShowMessage("Done");
    ASSERT_EQ(RecordedMessages().size(), 3u);
    EXPECT_EQ(RecordedMessages()[2].Text, "Done");
    EXPECT_EQ(RecordedMessages()[2].Type, mtInformation);

    int SeenButtons = 0;
    SetMessageHook([&](const std::string&, TMsgDlgType, int Buttons) {
        SeenButtons = Buttons;
        return static_cast<int>(mrNo);
    });
    EXPECT_EQ(MessageDlg("Delete?", mtWarning, mbYesNo), mrNo);
    EXPECT_EQ(SeenButtons, mbYesNo);
    EXPECT_EQ(RecordedMessages().size(), 3u);
    SetMessageHook({});
    RecordedMessages().clear();

    // The trace sink receives formatted messages only when set.
    SetTraceSink({});
    EXPECT_FALSE(TraceEnabled());
    Trace("lost %d", 1);
    std::vector<std::string> Lines;
    SetTraceSink([&](const std::string& S) { Lines.push_back(S); });
    EXPECT_TRUE(TraceEnabled());
    Trace("layer %s has %d objects", std::string("roads"), 12);
    SetTraceSink({});
    Trace("after %d", 2);
    EXPECT_EQ(Lines, std::vector<std::string>{"layer roads has 12 objects"});
}
