// The published ICH score, written down on its own rather than read from the
// tool, so that a fault in the tool's formulas or verdict rules shows as a
// disagreement. Every item is typed on each side of each of its band edges.
//   GCS 3-4: 2 points, 5-12: 1, 13-15: 0
//   volume >= 30 ml: 1      intraventricular: 1      infratentorial: 1
//   age >= 80 years: 1
//   30-day mortality by score 0-6: 0, 13, 26, 72, 97, 100, 100 %
#include "verify/expected_table.h"

namespace {

template <typename Row, int kCount>
constexpr int count_of(const Row (&)[kCount]) {
  return kCount;
}

const TypedPoints kGcs[] = {
    {L"3", 2},  {L"4", 2},  {L"5", 1},  {L"6", 1},  {L"7", 1},  {L"8", 1},  {L"9", 1},
    {L"10", 1}, {L"11", 1}, {L"12", 1}, {L"13", 0}, {L"14", 0}, {L"15", 0},
};
const TypedPoints kVolume[] = {{L"0", 0}, {L"29.9", 0}, {L"30", 1}, {L"500", 1}};
const TypedPoints kYesNo[] = {{L"0", 0}, {L"1", 1}};
const TypedPoints kAge[] = {{L"0", 0}, {L"79", 0}, {L"79.9", 0}, {L"80", 1}, {L"125", 1}};

const ItemPoints kItems[] = {
    {"gcs", kGcs, count_of(kGcs)},     {"volume", kVolume, count_of(kVolume)},
    {"ivh", kYesNo, count_of(kYesNo)}, {"infra", kYesNo, count_of(kYesNo)},
    {"age", kAge, count_of(kAge)},
};

const wchar_t kLowRisk[] = L"低中危，监测意识与瞳孔";
const wchar_t kHighRisk[] = L"高危，神经外科急会诊";

// score, level, mortality in %, verdict
const ScoreRow kScores[] = {
    {0, 1, L"0", kLowRisk},    {1, 1, L"13", kLowRisk},  {2, 1, L"26", kLowRisk},
    {3, 3, L"72", kHighRisk},  {4, 3, L"97", kHighRisk}, {5, 3, L"100", kHighRisk},
    {6, 3, L"100", kHighRisk},
};

const ExpectedTable kIchTable = {kItems, count_of(kItems), "score",
                                 "mort", kScores,          count_of(kScores)};

}  // namespace

const ExpectedTable* ich_expected_table() { return &kIchTable; }
