// The ICH score's table, written down on its own rather than read from the
// tool or the window, so that a fault in the formulas, the verdict rules, the
// input rule or the screen's texts and colours shows as a disagreement.
//
// Where each column comes from:
// - the points per item and the 30-day mortality per score: the published
//   ICH score, that is
//     GCS 3-4: 2 points, 5-12: 1, 13-15: 0
//     volume >= 30 ml: 1      intraventricular: 1      infratentorial: 1
//     age >= 80 years: 1
//     mortality by score 0-6: 0, 13, 26, 72, 97, 100, 100 %
// - everything else is the program's own definition, not the publication:
//   the labels and units beside the fields, the lines of the result box
//   ("label：value unit" with CR LF), the verdict texts and levels (the tool
//   definition), the verdict line's colours (the window's), the ranges each
//   item accepts and the refusal messages (the input rule and the window's
//   messages).
#include <iterator>

#include "verify/expected_table.h"

namespace {

// The grid: every item typed on each side of each of its band edges.
// Points: published.
const TypedPoints kGcs[] = {
    {L"3", 2},  {L"4", 2},  {L"5", 1},  {L"6", 1},  {L"7", 1},  {L"8", 1},  {L"9", 1},
    {L"10", 1}, {L"11", 1}, {L"12", 1}, {L"13", 0}, {L"14", 0}, {L"15", 0},
};
const TypedPoints kVolume[] = {{L"0", 0}, {L"29.9", 0}, {L"30", 1}, {L"500", 1}};
const TypedPoints kYesNo[] = {{L"0", 0}, {L"1", 1}};
const TypedPoints kAge[] = {{L"0", 0}, {L"79", 0}, {L"79.9", 0}, {L"80", 1}, {L"125", 1}};

// key (for the reader), label and unit as shown (the program's own), grid rows.
const ItemPoints kItems[] = {
    {"gcs", L"GCS", L"分", kGcs, static_cast<int>(std::size(kGcs))},
    {"volume", L"血肿量", L"ml", kVolume, static_cast<int>(std::size(kVolume))},
    {"ivh", L"破入脑室(1/0)", L"", kYesNo, static_cast<int>(std::size(kYesNo))},
    {"infra", L"幕下出血(1/0)", L"", kYesNo, static_cast<int>(std::size(kYesNo))},
    {"age", L"年龄", L"岁", kAge, static_cast<int>(std::size(kAge))},
};

// The program's own verdicts and their colours (#RRGGBB).
const wchar_t kLowRisk[] = L"低中危，监测意识与瞳孔";
const wchar_t kHighRisk[] = L"高危，神经外科急会诊";
constexpr unsigned kLowColour = 0xB08400;
constexpr unsigned kHighColour = 0xBE1E2D;

// score; result box text (score and mortality published, the lines' form the
// program's own); verdict, level and colour (the program's own).
const ScoreRow kScores[] = {
    {0, L"ICH 评分：0 分\r\n估计病死率：0 %\r\n", kLowRisk, 1, kLowColour},
    {1, L"ICH 评分：1 分\r\n估计病死率：13 %\r\n", kLowRisk, 1, kLowColour},
    {2, L"ICH 评分：2 分\r\n估计病死率：26 %\r\n", kLowRisk, 1, kLowColour},
    {3, L"ICH 评分：3 分\r\n估计病死率：72 %\r\n", kHighRisk, 3, kHighColour},
    {4, L"ICH 评分：4 分\r\n估计病死率：97 %\r\n", kHighRisk, 3, kHighColour},
    {5, L"ICH 评分：5 分\r\n估计病死率：100 %\r\n", kHighRisk, 3, kHighColour},
    {6, L"ICH 评分：6 分\r\n估计病死率：100 %\r\n", kHighRisk, 3, kHighColour},
};

// After a refusal the window shows no result: an empty result box and the
// prompt in the colour of level 0 (the program's own).
constexpr ScoreRow kNoResult = {kRefusedCase, L"", L"填写左侧参数，点击“计算”", 0, 0x008060};

// The refusal messages, word for word (the program's own).
const wchar_t kGcsRange[] = L"第 1 项“GCS”请输入 3 至 15 之间的整数。";
const wchar_t kVolumeRange[] = L"第 2 项“血肿量”请输入 0 至 500 之间的数值。";
const wchar_t kIvhYesNo[] = L"第 3 项“破入脑室(1/0)”请输入 1 或 0。";
const wchar_t kInfraYesNo[] = L"第 4 项“幕下出血(1/0)”请输入 1 或 0。";
const wchar_t kAgeRange[] = L"第 5 项“年龄”请输入 0 至 125 之间的数值。";

// Cases typed once. The default texts (12, 20, 0, 0, 65: score 1) with one
// item changed, or a text that decides a band edge beside texts that do not.
// The nearest typed values past an edge are the nearest doubles to it:
// 29.999999999999996 and 79.99999999999999 are the largest below 30 and 80,
// 500.00000000000006 and 125.00000000000001 the smallest above 500 and 125,
// -5e-324 the largest below 0, so a threshold or a range bound moved by any
// amount is caught. A field holds 127 characters; a double no more digits.
const SingleCase kSingles[] = {
    // Each threshold approached from below.
    {{L"15", L"29.999999999999996", L"0", L"0", L"0"}, 0, nullptr},
    {{L"15", L"0", L"0", L"0", L"79.99999999999999"}, 0, nullptr},
    // Every other form the field accepts, once each.
    {{L"\xFF11\xFF13", L"20", L"0", L"0", L"65"}, 0, nullptr},  // full-width digits
    {{L"013", L"20", L"0", L"0", L"65"}, 0, nullptr},           // leading zero
    {{L"12", L" 30 ", L"0", L"0", L"65"}, 2, nullptr},          // blanks around
    {{L"12", L"20", L"0", L"0", L"\t80\x3000"}, 2, nullptr},    // tab, ideographic space
    {{L"12", L"30.0", L"0", L"0", L"65"}, 2, nullptr},          // a zero decimal
    {{L"12", L"30.", L"0", L"0", L"65"}, 2, nullptr},           // a point with no decimal
    {{L"12", L".5", L"0", L"0", L"65"}, 1, nullptr},            // no digit before the point
    {{L"12", L"\xFF12\xFF19\xFF0E\xFF19", L"0", L"0", L"65"}, 1, nullptr},  // full-width point
    {{L"12", L"20", L"1.0", L"0", L"65"}, 2, nullptr},                // a whole number with a point
    {{L"12", L"-0", L"0", L"0", L"65"}, 1, nullptr},                  // minus
    {{L"12", L"20", L"0", L"0", L"+80"}, 2, nullptr},                 // plus
    {{L"12", L"20", L"0", L"0", L"\xFF0D\xFF10"}, 1, nullptr},        // full-width minus
    {{L"12", L"\xFF0B\xFF13\xFF10", L"0", L"0", L"65"}, 2, nullptr},  // full-width plus
    {{L"12", L"3e1", L"0", L"0", L"65"}, 2, nullptr},                 // exponent
    {{L"12", L"20", L"0", L"0", L"8E+1"}, 2, nullptr},                // exponent with a sign
    {{L"12", L"3000e-2", L"0", L"0", L"65"}, 2, nullptr},             // negative exponent
    {{L"12", L"\xFF13\xFF45\xFF11", L"0", L"0", L"65"}, 2, nullptr},  // full-width exponent
    {{L"12", L"1e-400", L"0", L"0", L"65"}, 1, nullptr},              // below the doubles: 0
    // Each item one step outside its range on each side.
    {{L"2", L"20", L"0", L"0", L"65"}, kRefusedCase, kGcsRange},
    {{L"16", L"20", L"0", L"0", L"65"}, kRefusedCase, kGcsRange},
    {{L"12", L"-5e-324", L"0", L"0", L"65"}, kRefusedCase, kVolumeRange},
    {{L"12", L"500.00000000000006", L"0", L"0", L"65"}, kRefusedCase, kVolumeRange},
    {{L"12", L"20", L"-1", L"0", L"65"}, kRefusedCase, kIvhYesNo},
    {{L"12", L"20", L"2", L"0", L"65"}, kRefusedCase, kIvhYesNo},
    {{L"12", L"20", L"0", L"-1", L"65"}, kRefusedCase, kInfraYesNo},
    {{L"12", L"20", L"0", L"2", L"65"}, kRefusedCase, kInfraYesNo},
    {{L"12", L"20", L"0", L"0", L"-5e-324"}, kRefusedCase, kAgeRange},
    {{L"12", L"20", L"0", L"0", L"125.00000000000001"}, kRefusedCase, kAgeRange},
    // A fraction for a whole-number item and for a yes/no item.
    {{L"12.5", L"20", L"0", L"0", L"65"}, kRefusedCase, kGcsRange},
    {{L"12", L"20", L"0.5", L"0", L"65"}, kRefusedCase, kIvhYesNo},
    // Texts that are no number of the field.
    {{L"12", L"20", L"0", L"0", L""}, kRefusedCase, L"第 5 项“年龄”未填写。"},
    {{L"12", L"abc", L"0", L"0", L"65"}, kRefusedCase, L"第 2 项“血肿量”请输入数字。"},
    {{L"12", L"29,9", L"0", L"0", L"65"}, kRefusedCase, L"第 2 项“血肿量”请用“.”作小数点。"},
    {{L"12", L"20", L"0", L"1e999", L"65"}, kRefusedCase, L"第 4 项“幕下出血(1/0)”请输入数字。"},
};

const ExpectedTable kIchTable = {
    kItems,
    static_cast<int>(std::size(kItems)),
    kScores,
    static_cast<int>(std::size(kScores)),
    kNoResult,
    kSingles,
    static_cast<int>(std::size(kSingles)),
};

}  // namespace

const ExpectedTable* ich_expected_table() { return &kIchTable; }
