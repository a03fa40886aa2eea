// Kind 6, drug compatibility: the conclusion for an unordered pair of drug
// numbers from a small table; the only report whose level varies.
#include "base/text.h"
#include "reports/report_generators.h"
#include "reports/report_lines.h"

namespace {

// Numbered 1 to 10 by the user; slot 0 is unused.
const wchar_t* const kDrugNames[] = {
    nullptr,     L"头孢曲松", L"葡萄糖酸钙", L"万古霉素", L"呋塞米", L"氨溴索",
    L"奥美拉唑", L"维生素C",  L"胰岛素",     L"碳酸氢钠", L"多巴胺",
};
constexpr int kLastDrugNumber = 10;

struct Conclusion {
  const wchar_t* line;
  const wchar_t* verdict;
  int level;
};
const Conclusion kForbidden = {
    L"结论：禁忌配伍。头孢曲松与含钙注射液可形成不溶性沉淀；钙剂与碳酸氢钠亦不宜同瓶。",
    L"禁忌：不可同瓶输注，需间隔冲管", 3};
const Conclusion kVancomycinApart = {
    L"结论：不宜同瓶。万古霉素与碱性药物/奥美拉唑配伍稳定性差，应分开输注并冲管。",
    L"不宜同瓶，分开输注并冲管", 2};
const Conclusion kNotSameBottle = {
    L"结论：不宜同瓶。呋塞米与多巴胺、氨溴索与碱性液混合易发生理化变化。",
    L"不宜同瓶，建议分开输注", 2};
const Conclusion kSeparateAdvised = {
    L"结论：奥美拉唑与维生素C 同瓶 pH 冲突，稳定性下降，建议分开。", L"建议分开输注", 1};
const Conclusion kNotListed = {
    L"结论：本工具库内未收录该组合的明确禁忌，但仍须查本院配伍表并现配现用、注意冲管。",
    L"未收录明确禁忌，仍需核对院内配伍表", 0};

// Pairs written lower number first.
struct PairRule {
  int low;
  int high;
  const Conclusion* conclusion;
};
const PairRule kPairRules[] = {
    {1, 2, &kForbidden},       {2, 9, &kForbidden},      {3, 6, &kVancomycinApart},
    {3, 9, &kVancomycinApart}, {4, 10, &kNotSameBottle}, {5, 9, &kNotSameBottle},
    {6, 7, &kSeparateAdvised},
};

const wchar_t kPairFormat[] = L"待查：%d 号 %ls  +  %d 号 %ls";
const wchar_t kLegendFirst[] = L"编号：1头孢曲松 2葡萄糖酸钙 3万古霉素 4呋塞米 5氨溴索";
const wchar_t kLegendSecond[] = L"      6奥美拉唑 7维生素C 8胰岛素 9碳酸氢钠 10多巴胺";

// A number outside the table was never entered as a drug: printing a real
// name for it could show a contraindicated pair beside a conclusion that
// lists none. It never matches a pair either.
const wchar_t kUnknownDrugName[] = L"未知编号";

const wchar_t* drug_name(int number) {
  return number >= 1 && number <= kLastDrugNumber ? kDrugNames[number] : kUnknownDrugName;
}

const Conclusion& conclusion_for(int a, int b) {
  int low = a < b ? a : b;
  int high = a < b ? b : a;
  for (const PairRule& rule : kPairRules)
    if (rule.low == low && rule.high == high) return *rule.conclusion;
  return kNotListed;
}

}  // namespace

int drug_compatibility_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                              int result_capacity, wchar_t* verdict, int verdict_capacity) {
  int a = report_integer_input(tool, parameter_values, "drugA");
  int b = report_integer_input(tool, parameter_values, "drugB");
  append_report_line_format(result, result_capacity, kPairFormat, a, drug_name(a), b, drug_name(b));
  append_report_line(result, result_capacity, L"");
  append_report_line(result, result_capacity, kLegendFirst);
  append_report_line(result, result_capacity, kLegendSecond);
  append_report_line(result, result_capacity, L"");
  const Conclusion& conclusion = conclusion_for(a, b);
  append_report_line(result, result_capacity, conclusion.line);
  text_copy(verdict, verdict_capacity, conclusion.verdict);
  return conclusion.level;
}
