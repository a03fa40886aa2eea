// The six fixed-text reports: constant lines, in which at most one block is
// chosen by a selector parameter. Every selector table keeps its fall-through
// row (any other value, and an absent parameter) in slot 0.
#include "base/text.h"
#include "reports/report_generators.h"
#include "reports/report_lines.h"

namespace {

template <int N>
constexpr int count_of(const wchar_t* const (&)[N]) {
  return N;
}

// Slot selector of a table whose slot 0 is the fall-through row.
int selected_row(int selector, int row_count) {
  return selector >= 1 && selector < row_count ? selector : 0;
}

void append_report_lines(wchar_t* result, int capacity, const wchar_t* const* lines, int count) {
  for (int i = 0; i < count; ++i) append_report_line(result, capacity, lines[i]);
}

// Kind 3, blood collection order.
const wchar_t* const kCollectionOrderLines[] = {
    L"标准采血顺序（按添加剂，避免交叉污染）：",
    L"1 血培养瓶（需氧/厌氧）",
    L"2 凝血管 淡蓝（枸橼酸钠，凝血 PT/APTT）",
    L"3 促凝/血清管 红或金黄（生化、免疫）",
    L"4 肝素管 绿（血气、部分生化）",
    L"5 EDTA 紫（血常规、糖化、血型）",
    L"6 氟化钠 灰（血糖、乳酸）",
    L"",
};
const wchar_t* const kCollectionThisTime[] = {
    L"本次：其他项目，请按检验科项目手册执行。",
    L"本次：血常规 → 紫管 EDTA，采血后 8 次颠倒混匀，2 小时内送检。",
    L"本次：凝血 → 淡蓝管，需采满刻度线（约 2.0ml），采血后立即轻柔颠倒 3-4 次。",
    L"本次：生化 → 红/金黄管，避免溶血，采血后静置 30 分钟离心。",
    L"本次：血气 → 肝素化注射器，排气后立即送检，15 分钟内完成。",
    L"本次：血培养 → 需氧+厌氧各 1 套，采血 2 套不同部位，先注入培养瓶。",
    L"本次：血糖/乳酸 → 灰管，需冰浴送检，30 分钟内完成。",
};
const wchar_t kCollectionVerdict[] = L"按标准顺序采血可减少溶血与交叉污染";

// Kind 4, critical values: one group of limits per selector value.
struct CriticalGroup {
  int line_count;
  const wchar_t* lines[3];
};
const wchar_t kCriticalHeading[] = L"常见检验危急值（参考，需以本院文件为准）：";
const CriticalGroup kCriticalGroups[] = {
    {1, {L"请查阅本院《危急值报告目录》"}},
    {3, {L"血钾 <2.5 或 >6.5 mmol/L", L"血钠 <120 或 >160 mmol/L", L"血钙 <1.5 或 >3.5 mmol/L"}},
    {2, {L"血糖 <2.8 或 >22.2 mmol/L", L"pH <7.20 或 >7.60；PaO2 <45 mmHg；PaCO2 >70 mmHg"}},
    {2, {L"白细胞 <1.0 或 >30.0 ×10^9/L", L"血红蛋白 <50 g/L；血小板 <20 或 >1000 ×10^9/L"}},
    {2, {L"INR >4.0；纤维蛋白原 <1.0 g/L", L"D-二聚体显著升高并伴临床血栓表现"}},
    {2, {L"血培养阳性（无菌部位）", L"脑脊液培养阳性；HIV 初筛阳性需确认"}},
    {2, {L"肌钙蛋白明显升高（高于第 99 百分位）", L"血淀粉酶/脂肪酶 >3 倍正常上限"}},
};
const wchar_t kCriticalHandling[] =
    L"处置要求：核实标本→15 分钟内电话报告临床→记录报告与接听人→医师 30 分钟内处理并记录。";
const wchar_t kCriticalVerdict[] = L"危急值必须闭环：报告、接收、处理、记录";

// Kind 5, high-alert drugs: a class line and its key points.
struct DrugClass {
  const wchar_t* class_line;
  const wchar_t* key_points;
};
const wchar_t kHighAlertHeading[] = L"高警示药品类别与要点：";
const DrugClass kHighAlertClasses[] = {
    {L"麻醉与肌松药：丙泊酚、维库溴铵、琥珀胆碱、阿片类",
     L"要点：专柜加锁、基数管理、使用后登记、拮抗剂（纳洛酮/新斯的明）备用。"},
    {L"高浓度电解质：10% 氯化钾、10% 氯化钠、25% 硫酸镁",
     L"要点：专用标识、专区存放、双人核对、禁止直接静脉推注（钾）。"},
    {L"胰岛素与口服降糖药：胰岛素、格列本脲",
     L"要点：独立存放、专用注射器、剂量双人核对、低血糖监测与急救糖备用。"},
    {L"抗凝与化疗药：肝素、华法林、低分子肝素、化疗药物",
     L"要点：化疗药集中配置与防护、抗凝药监测 INR/APTT、出血风险宣教。"},
};
const wchar_t kHighAlertVerdict[] = L"高警示药品须专区、专标识、双人核对";

// Kind 8, surgical safety checklist.
const wchar_t* const kChecklistLines[] = {
    L"手术安全核查表（三步核查）：",
    L"【麻醉实施前】身份/部位/术式/知情同意；过敏史；气道与插管风险；出血风险；影像与植入物；皮肤准备。",
    L"【手术开始前】团队自我介绍；确认患者、部位、术式；预计手术时间与失血量；抗菌药物已用；器械灭菌合格；影像资料到位。",
    L"【患者离室前】手术名称与记录一致；标本标识与送检；器械敷料清点；皮肤与管路；恢复与转运方案。",
    L"",
    L"要求：三方（外科、麻醉、护理）共同口述确认并签字，任一环节缺失不得开台。",
};
const wchar_t kChecklistVerdict[] = L"三方核查缺一不可，签字后归档";

// Kind 9, handover report: one template line per bed.
constexpr int kMostHandoverBeds = 30;
const wchar_t kHandoverHeading[] =
    L"交班报告（床号 / 诊断 / 本班病情 / 治疗与管路 / 需下一班关注）：";
const wchar_t kHandoverBedFormat[] =
    L"%02d 床：诊断＿＿；体温＿℃ 脉搏＿次/分 呼吸＿次/分 血压＿/＿mmHg SpO2＿%%；本班处置＿＿；管路（静脉/引流/导尿/吸氧）＿＿；下一班关注＿＿。";
const wchar_t kHandoverClosing[] =
    L"危重患者须床旁交接；新入院、手术、输血、病情变化患者逐一交接并双签名。";
const wchar_t kHandoverVerdict[] = L"模板已生成，床旁交接并双方签名";

// Kind 11, lab panels: a panel line and its caution line, no heading.
struct LabPanel {
  const wchar_t* panel_line;
  const wchar_t* caution_line;
};
const LabPanel kLabPanels[] = {
    {L"尿常规（清洁中段尿）：尿蛋白、尿糖、尿潜血、白细胞、亚硝酸盐、比重、pH、镜检。",
     L"注意：留取中段尿，1 小时内送检；月经期避免。"},
    {L"血常规（紫管 EDTA）：WBC、RBC、Hb、Hct、PLT、MCV/MCH/MCHC、中性/淋巴/单核/嗜酸/嗜碱比例。",
     L"注意：剧烈运动、情绪、采血时间可影响结果；PLT 聚集需涂片复核。"},
    {L"生化全套（红/金黄管）：肝功（ALT/AST/ALP/GGT/胆红素/白蛋白）、肾功（BUN/Cr/UA）、血糖、血脂、电解质。",
     L"注意：空腹 8-12 小时；溶血标本钾、AST 假性升高。"},
    {L"凝血四项（淡蓝管）：PT、INR、APTT、TT、纤维蛋白原、D-二聚体。",
     L"注意：采血量必须达刻度；肝素治疗中查 APTT。"},
    {L"甲状腺功能（红/金黄管）：TSH、FT3、FT4、TPOAb、TgAb。",
     L"注意：空腹；含碘造影剂后 1 周内避免复查。"},
    {L"心肌损伤标志物：cTnI/cTnT、CK-MB、肌红蛋白、BNP/NT-proBNP。",
     L"注意：胸痛发作后 2-4 小时开始升高；动态复查更有意义。"},
};
const wchar_t kLabPanelsVerdict[] = L"套餐与采血管已列出，按顺序采血";

constexpr int kCriticalGroupCount =
    static_cast<int>(sizeof kCriticalGroups / sizeof kCriticalGroups[0]);
constexpr int kHighAlertClassCount =
    static_cast<int>(sizeof kHighAlertClasses / sizeof kHighAlertClasses[0]);
constexpr int kLabPanelCount = static_cast<int>(sizeof kLabPanels / sizeof kLabPanels[0]);

}  // namespace

int blood_collection_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                            int result_capacity, wchar_t* verdict, int verdict_capacity) {
  int row = selected_row(report_integer_input(tool, parameter_values, "kind"),
                         count_of(kCollectionThisTime));
  append_report_lines(result, result_capacity, kCollectionOrderLines,
                      count_of(kCollectionOrderLines));
  append_report_line(result, result_capacity, kCollectionThisTime[row]);
  text_copy(verdict, verdict_capacity, kCollectionVerdict);
  return 0;
}

int critical_values_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                           int result_capacity, wchar_t* verdict, int verdict_capacity) {
  const CriticalGroup& group = kCriticalGroups[selected_row(
      report_integer_input(tool, parameter_values, "kind"), kCriticalGroupCount)];
  append_report_line(result, result_capacity, kCriticalHeading);
  append_report_lines(result, result_capacity, group.lines, group.line_count);
  append_report_line(result, result_capacity, L"");
  append_report_line(result, result_capacity, kCriticalHandling);
  text_copy(verdict, verdict_capacity, kCriticalVerdict);
  return 0;
}

int high_alert_drugs_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                            int result_capacity, wchar_t* verdict, int verdict_capacity) {
  const DrugClass& drug_class = kHighAlertClasses[selected_row(
      report_integer_input(tool, parameter_values, "kind"), kHighAlertClassCount)];
  append_report_line(result, result_capacity, kHighAlertHeading);
  append_report_line(result, result_capacity, drug_class.class_line);
  append_report_line(result, result_capacity, drug_class.key_points);
  text_copy(verdict, verdict_capacity, kHighAlertVerdict);
  return 0;
}

int surgical_checklist_report(const ToolDef*, const double*, wchar_t* result, int result_capacity,
                              wchar_t* verdict, int verdict_capacity) {
  append_report_lines(result, result_capacity, kChecklistLines, count_of(kChecklistLines));
  text_copy(verdict, verdict_capacity, kChecklistVerdict);
  return 0;
}

int handover_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                    int result_capacity, wchar_t* verdict, int verdict_capacity) {
  int beds = clamp_report_integer(report_integer_input(tool, parameter_values, "beds"), 1,
                                  kMostHandoverBeds);
  append_report_line(result, result_capacity, kHandoverHeading);
  for (int bed = 1; bed <= beds; ++bed)
    append_report_line_format(result, result_capacity, kHandoverBedFormat, bed);
  append_report_line(result, result_capacity, L"");
  append_report_line(result, result_capacity, kHandoverClosing);
  text_copy(verdict, verdict_capacity, kHandoverVerdict);
  return 0;
}

int lab_panels_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                      int result_capacity, wchar_t* verdict, int verdict_capacity) {
  const LabPanel& panel = kLabPanels[selected_row(
      report_integer_input(tool, parameter_values, "panel"), kLabPanelCount)];
  append_report_line(result, result_capacity, panel.panel_line);
  append_report_line(result, result_capacity, panel.caution_line);
  text_copy(verdict, verdict_capacity, kLabPanelsVerdict);
  return 0;
}
