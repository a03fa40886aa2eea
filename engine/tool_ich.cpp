// The ICH score for spontaneous intracerebral haemorrhage: GCS, haematoma
// volume, intraventricular extension, infratentorial origin and age, each
// adding points to a score of 0 to 6 that maps to the 30-day mortality of the
// original cohort (0, 13, 26, 72, 97, 100 and 100 percent).
#include "engine/tool.h"

namespace {

#define ICH_SUM "(gcs>=13?0:gcs>=5?1:2)+(volume>=30?1:0)+(ivh?1:0)+(infra?1:0)+(age>=80?1:0)"

// What may be typed for each item. The volume and age bounds lie beyond any
// patient, so they refuse only slips (a lost decimal point, a doubled digit),
// never a real value: the ABC/2 estimate of the largest haematomas reported
// stays well under 500 ml, about 40 % of an adult brain's 1,200 ml; no one
// verified has lived past 122 years.
constexpr ParameterRange kGcsRange = {true, 3, 15, true};
constexpr ParameterRange kVolumeRange = {true, 0, 500, false};
constexpr ParameterRange kYesNoRange = {true, 0, 1, true};
constexpr ParameterRange kAgeRange = {true, 0, 125, false};

const ParameterDef kParameters[] = {
    {"gcs", L"GCS", L"分", 12, kGcsRange},
    {"volume", L"血肿量", L"ml", 20, kVolumeRange},
    {"ivh", L"破入脑室(1/0)", L"", 0, kYesNoRange},
    {"infra", L"幕下出血(1/0)", L"", 0, kYesNoRange},
    {"age", L"年龄", L"岁", 65, kAgeRange},
};

const OutputDef kOutputs[] = {
    {"score", L"ICH 评分", L"分", ICH_SUM, "f0"},
    // The score expression is written out in every comparison: the formula
    // does not depend on the output before it.
    {"mort", L"估计病死率", L"%",
     "(" ICH_SUM ")==0?0:(" ICH_SUM ")==1?13:(" ICH_SUM ")==2?26:(" ICH_SUM ")==3?72:(" ICH_SUM
     ")==4?97:100",
     "f0"},
};

const VerdictRule kRules[] = {
    {ICH_SUM ">=3", 3, L"高危，神经外科急会诊"},
    {"", 1, L"低中危，监测意识与瞳孔"},
};

#undef ICH_SUM

const ToolDef kIchTool = {
    148,
    L"ICH 脑出血评分",
    L"GCS、血肿量、部位与年龄",
    L"神经科",
    L"ICH Score：0 分病死率约 0%，5-6 分接近 100%",
    L"血肿量按 ABC/2 估算，需结合是否破入脑室。",
    static_cast<int>(sizeof kParameters / sizeof kParameters[0]),
    kParameters,
    static_cast<int>(sizeof kOutputs / sizeof kOutputs[0]),
    kOutputs,
    static_cast<int>(sizeof kRules / sizeof kRules[0]),
    kRules,
    0,
};

}  // namespace

const ToolDef* get_tool() { return &kIchTool; }
