// The published ICH score, written down on its own rather than read from the
// tool, so that a fault in the tool's formulas or verdict rules shows as a
// disagreement. Every item is typed on each side of each of its band edges.
//   GCS 3-4: 2 points, 5-12: 1, 13-15: 0
//   volume >= 30 ml: 1      intraventricular: 1      infratentorial: 1
//   age >= 80 years: 1
//   30-day mortality by score 0-6: 0, 13, 26, 72, 97, 100, 100 %
#include "verify/expected_table.h"

namespace {

#define COUNT(table) static_cast<int>(sizeof table / sizeof table[0])

const TypedPoints kGcs[] = {
    {L"3", 2},  {L"4", 2},  {L"5", 1},  {L"6", 1},  {L"7", 1},  {L"8", 1},  {L"9", 1},
    {L"10", 1}, {L"11", 1}, {L"12", 1}, {L"13", 0}, {L"14", 0}, {L"15", 0},
};
const TypedPoints kVolume[] = {{L"0", 0}, {L"29.9", 0}, {L"30", 1}, {L"500", 1}};
const TypedPoints kYesNo[] = {{L"0", 0}, {L"1", 1}};
const TypedPoints kAge[] = {{L"0", 0}, {L"79", 0}, {L"79.9", 0}, {L"80", 1}, {L"125", 1}};

const ItemPoints kItems[] = {
    {"gcs", kGcs, COUNT(kGcs)},     {"volume", kVolume, COUNT(kVolume)},
    {"ivh", kYesNo, COUNT(kYesNo)}, {"infra", kYesNo, COUNT(kYesNo)},
    {"age", kAge, COUNT(kAge)},
};

const wchar_t kLowRisk[] = L"低中危，监测意识与瞳孔";
const wchar_t kHighRisk[] = L"高危，神经外科急会诊";

const ScoreRow kScores[] = {
    {0, L"0", kLowRisk, 1},    {1, L"13", kLowRisk, 1},  {2, L"26", kLowRisk, 1},
    {3, L"72", kHighRisk, 3},  {4, L"97", kHighRisk, 3}, {5, L"100", kHighRisk, 3},
    {6, L"100", kHighRisk, 3},
};

const ExpectedTable kIchTable = {kItems, COUNT(kItems), "score", "mort", kScores, COUNT(kScores)};

#undef COUNT

}  // namespace

const ExpectedTable* ich_expected_table() { return &kIchTable; }
