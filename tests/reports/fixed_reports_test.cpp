#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "report_test_support.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// One bed line of the handover template for the given two-digit number.
std::wstring handover_bed_line(const std::wstring& number) {
  std::wstring line =
      L"%02d 床：诊断＿＿；体温＿℃ 脉搏＿次/分 呼吸＿次/分 血压＿/＿mmHg SpO2＿%%；本班处置＿＿；管路（静脉/引流/导尿/吸氧）＿＿；下一班关注＿＿。";
  line.replace(line.find(L"%02d"), 4, number);
  line.replace(line.find(L"%%"), 2, L"%");
  return line;
}

TEST(ReportFixedText, BloodCollectionOrderWholeText) {
  ReportOutcome out = run_test_report(3, {{"kind", 6.9}});
  EXPECT_EQ(std::wstring(L"标准采血顺序（按添加剂，避免交叉污染）："
                         L"\r\n"
                         L"1 血培养瓶（需氧/厌氧）"
                         L"\r\n"
                         L"2 凝血管 淡蓝（枸橼酸钠，凝血 PT/APTT）"
                         L"\r\n"
                         L"3 促凝/血清管 红或金黄（生化、免疫）"
                         L"\r\n"
                         L"4 肝素管 绿（血气、部分生化）"
                         L"\r\n"
                         L"5 EDTA 紫（血常规、糖化、血型）"
                         L"\r\n"
                         L"6 氟化钠 灰（血糖、乳酸）"
                         L"\r\n\r\n"
                         L"本次：血糖/乳酸 → 灰管，需冰浴送检，30 分钟内完成。"
                         L"\r\n"),
            out.result);
  EXPECT_EQ(std::wstring(L"按标准顺序采血可减少溶血与交叉污染"), out.verdict);
  EXPECT_EQ(0, out.level);
}

struct SelectorRow {
  bool present;
  double value;
  std::vector<std::wstring> lines;  // the lines the selector chooses
};

TEST(ReportFixedText, BloodCollectionSelectorRows) {
  const std::wstring other = L"本次：其他项目，请按检验科项目手册执行。";
  const SelectorRow rows[] = {
      {true, 1, {L"本次：血常规 → 紫管 EDTA，采血后 8 次颠倒混匀，2 小时内送检。"}},
      {true, 2, {L"本次：凝血 → 淡蓝管，需采满刻度线（约 2.0ml），采血后立即轻柔颠倒 3-4 次。"}},
      {true, 3, {L"本次：生化 → 红/金黄管，避免溶血，采血后静置 30 分钟离心。"}},
      {true, 4, {L"本次：血气 → 肝素化注射器，排气后立即送检，15 分钟内完成。"}},
      {true, 5, {L"本次：血培养 → 需氧+厌氧各 1 套，采血 2 套不同部位，先注入培养瓶。"}},
      {true, 6, {L"本次：血糖/乳酸 → 灰管，需冰浴送检，30 分钟内完成。"}},
      {true, 1.99, {L"本次：血常规 → 紫管 EDTA，采血后 8 次颠倒混匀，2 小时内送检。"}},
      {true, 7, {other}},
      {true, 0, {other}},
      {true, 0.9, {other}},
      {true, -1, {other}},
      {true, 1e12, {other}},
      {true, 4294967297.0, {other}},
      {true, kNaN, {other}},
      {false, 0, {other}},
  };
  for (const SelectorRow& row : rows) {
    std::vector<std::wstring> lines =
        report_lines(run_test_report_with(3, "kind", row.present, row.value).result);
    ASSERT_EQ(9u, lines.size()) << row.value;
    EXPECT_EQ(row.lines[0], lines[8]) << "kind " << row.value << " present " << row.present;
  }
}

TEST(ReportFixedText, CriticalValuesWholeText) {
  ReportOutcome out = run_test_report(4, {{"kind", 1}});
  EXPECT_EQ(
      std::wstring(
          L"常见检验危急值（参考，需以本院文件为准）："
          L"\r\n"
          L"血钾 <2.5 或 >6.5 mmol/L"
          L"\r\n"
          L"血钠 <120 或 >160 mmol/L"
          L"\r\n"
          L"血钙 <1.5 或 >3.5 mmol/L"
          L"\r\n\r\n"
          L"处置要求：核实标本→15 分钟内电话报告临床→记录报告与接听人→医师 30 分钟内处理并记录。"
          L"\r\n"),
      out.result);
  EXPECT_EQ(std::wstring(L"危急值必须闭环：报告、接收、处理、记录"), out.verdict);
  EXPECT_EQ(0, out.level);
}

TEST(ReportFixedText, CriticalValuesSelectorRows) {
  const std::vector<std::wstring> other = {L"请查阅本院《危急值报告目录》"};
  const SelectorRow rows[] = {
      {true,
       1,
       {L"血钾 <2.5 或 >6.5 mmol/L", L"血钠 <120 或 >160 mmol/L", L"血钙 <1.5 或 >3.5 mmol/L"}},
      {true,
       2,
       {L"血糖 <2.8 或 >22.2 mmol/L", L"pH <7.20 或 >7.60；PaO2 <45 mmHg；PaCO2 >70 mmHg"}},
      {true,
       3,
       {L"白细胞 <1.0 或 >30.0 ×10^9/L", L"血红蛋白 <50 g/L；血小板 <20 或 >1000 ×10^9/L"}},
      {true, 4.5, {L"INR >4.0；纤维蛋白原 <1.0 g/L", L"D-二聚体显著升高并伴临床血栓表现"}},
      {true, 5, {L"血培养阳性（无菌部位）", L"脑脊液培养阳性；HIV 初筛阳性需确认"}},
      {true, 6, {L"肌钙蛋白明显升高（高于第 99 百分位）", L"血淀粉酶/脂肪酶 >3 倍正常上限"}},
      {true, 7, other},
      {true, 0, other},
      {true, -3, other},
      {true, -1e12, other},
      {false, 0, other},
  };
  for (const SelectorRow& row : rows) {
    std::vector<std::wstring> lines =
        report_lines(run_test_report_with(4, "kind", row.present, row.value).result);
    std::vector<std::wstring> expected = {L"常见检验危急值（参考，需以本院文件为准）："};
    expected.insert(expected.end(), row.lines.begin(), row.lines.end());
    expected.push_back(L"");
    expected.push_back(
        L"处置要求：核实标本→15 分钟内电话报告临床→记录报告与接听人→医师 30 分钟内处理并记录。");
    EXPECT_EQ(expected, lines) << "kind " << row.value << " present " << row.present;
  }
}

TEST(ReportFixedText, HighAlertDrugsWholeTextKeepsPercentSigns) {
  ReportOutcome out = run_test_report(5, {{"kind", 1}});
  EXPECT_EQ(std::wstring(L"高警示药品类别与要点："
                         L"\r\n"
                         L"高浓度电解质：10% 氯化钾、10% 氯化钠、25% 硫酸镁"
                         L"\r\n"
                         L"要点：专用标识、专区存放、双人核对、禁止直接静脉推注（钾）。"
                         L"\r\n"),
            out.result);
  EXPECT_NE(std::wstring::npos, out.result.find(L"10% 氯化钾、10% 氯化钠、25% 硫酸镁"));
  EXPECT_EQ(std::wstring(L"高警示药品须专区、专标识、双人核对"), out.verdict);
  EXPECT_EQ(0, out.level);
}

TEST(ReportFixedText, HighAlertDrugsSelectorRows) {
  const std::vector<std::wstring> other = {
      L"麻醉与肌松药：丙泊酚、维库溴铵、琥珀胆碱、阿片类",
      L"要点：专柜加锁、基数管理、使用后登记、拮抗剂（纳洛酮/新斯的明）备用。"};
  const SelectorRow rows[] = {
      {true,
       1,
       {L"高浓度电解质：10% 氯化钾、10% 氯化钠、25% 硫酸镁",
        L"要点：专用标识、专区存放、双人核对、禁止直接静脉推注（钾）。"}},
      {true,
       2,
       {L"胰岛素与口服降糖药：胰岛素、格列本脲",
        L"要点：独立存放、专用注射器、剂量双人核对、低血糖监测与急救糖备用。"}},
      {true,
       3.7,
       {L"抗凝与化疗药：肝素、华法林、低分子肝素、化疗药物",
        L"要点：化疗药集中配置与防护、抗凝药监测 INR/APTT、出血风险宣教。"}},
      {true, 4, other},
      {true, 0, other},
      {true, -2, other},
      {true, 1e15, other},
      {false, 0, other},
  };
  for (const SelectorRow& row : rows) {
    std::vector<std::wstring> lines =
        report_lines(run_test_report_with(5, "kind", row.present, row.value).result);
    std::vector<std::wstring> expected = {L"高警示药品类别与要点："};
    expected.insert(expected.end(), row.lines.begin(), row.lines.end());
    EXPECT_EQ(expected, lines) << "kind " << row.value << " present " << row.present;
  }
}

TEST(ReportFixedText, SurgicalChecklistWholeText) {
  ReportOutcome out = run_test_report(8, {});
  EXPECT_EQ(
      std::wstring(
          L"手术安全核查表（三步核查）："
          L"\r\n"
          L"【麻醉实施前】身份/部位/术式/知情同意；过敏史；气道与插管风险；出血风险；影像与植入物；皮肤准备。"
          L"\r\n"
          L"【手术开始前】团队自我介绍；确认患者、部位、术式；预计手术时间与失血量；抗菌药物已用；器械灭菌合格；影像资料到位。"
          L"\r\n"
          L"【患者离室前】手术名称与记录一致；标本标识与送检；器械敷料清点；皮肤与管路；恢复与转运方案。"
          L"\r\n\r\n"
          L"要求：三方（外科、麻醉、护理）共同口述确认并签字，任一环节缺失不得开台。"
          L"\r\n"),
      out.result);
  EXPECT_EQ(std::wstring(L"三方核查缺一不可，签字后归档"), out.verdict);
  EXPECT_EQ(0, out.level);
}

TEST(ReportFixedText, SurgicalChecklistCutAtCapacity100) {
  ReportOutcome out = run_test_report(8, {}, 100);
  std::wstring third =
      L"【手术开始前】团队自我介绍；确认患者、部位、术式；预计手术时间与失血量；抗菌药物已用；器械灭菌合格；影像资料到位。";
  EXPECT_EQ(
      std::wstring(
          L"手术安全核查表（三步核查）："
          L"\r\n"
          L"【麻醉实施前】身份/部位/术式/知情同意；过敏史；气道与插管风险；出血风险；影像与植入物；皮肤准备。"
          L"\r\n") +
          third.substr(0, 31),
      out.result);
  EXPECT_EQ(99u, out.result.size());
  EXPECT_EQ(std::wstring(L"三方核查缺一不可，签字后归档"), out.verdict);
  EXPECT_EQ(0, out.level);
}

TEST(ReportFixedText, HandoverWholeText) {
  ReportOutcome out = run_test_report(9, {{"beds", 2}});
  EXPECT_EQ(std::wstring(L"交班报告（床号 / 诊断 / 本班病情 / 治疗与管路 / 需下一班关注）："
                         L"\r\n") +
                handover_bed_line(L"01") + L"\r\n" + handover_bed_line(L"02") + L"\r\n\r\n" +
                L"危重患者须床旁交接；新入院、手术、输血、病情变化患者逐一交接并双签名。"
                L"\r\n",
            out.result);
  EXPECT_EQ(std::wstring(L"模板已生成，床旁交接并双方签名"), out.verdict);
  EXPECT_EQ(0, out.level);
  // Full-width low lines for the blanks, a single percent sign after SpO2.
  EXPECT_NE(std::wstring::npos, out.result.find(L"SpO2\xFF3F%\xFF1B"));
}

TEST(ReportFixedText, HandoverBedCountIsLimitedToOneToThirty) {
  struct Row {
    bool present;
    double beds;
    int expected_lines;
  };
  const Row rows[] = {
      {false, 0, 1},    {true, 0, 1},     {true, -5, 1},   {true, 0.99, 1},  {true, 1, 1},
      {true, 2.9, 2},   {true, 29, 29},   {true, 30, 30},  {true, 30.7, 30}, {true, 31, 30},
      {true, 1e12, 30}, {true, -1e12, 1}, {true, kNaN, 1},
  };
  for (const Row& row : rows) {
    ReportOutcome out = run_test_report_with(9, "beds", row.present, row.beds);
    std::vector<std::wstring> lines = report_lines(out.result);
    ASSERT_EQ(static_cast<size_t>(row.expected_lines + 3), lines.size()) << row.beds;
    wchar_t last[3] = {static_cast<wchar_t>(L'0' + row.expected_lines / 10),
                       static_cast<wchar_t>(L'0' + row.expected_lines % 10), 0};
    EXPECT_EQ(handover_bed_line(L"01"), lines[1]) << row.beds;
    EXPECT_EQ(handover_bed_line(last), lines[static_cast<size_t>(row.expected_lines)]) << row.beds;
  }
}

TEST(ReportFixedText, LabPanelsWholeText) {
  ReportOutcome out = run_test_report(11, {{"panel", 2}});
  EXPECT_EQ(
      std::wstring(
          L"生化全套（红/金黄管）：肝功（ALT/AST/ALP/GGT/胆红素/白蛋白）、肾功（BUN/Cr/UA）、血糖、血脂、电解质。"
          L"\r\n"
          L"注意：空腹 8-12 小时；溶血标本钾、AST 假性升高。"
          L"\r\n"),
      out.result);
  EXPECT_EQ(std::wstring(L"套餐与采血管已列出，按顺序采血"), out.verdict);
  EXPECT_EQ(0, out.level);
}

TEST(ReportFixedText, LabPanelsSelectorRows) {
  const std::vector<std::wstring> other = {
      L"尿常规（清洁中段尿）：尿蛋白、尿糖、尿潜血、白细胞、亚硝酸盐、比重、pH、镜检。",
      L"注意：留取中段尿，1 小时内送检；月经期避免。"};
  const SelectorRow rows[] = {
      {true,
       1,
       {L"血常规（紫管 EDTA）：WBC、RBC、Hb、Hct、PLT、MCV/MCH/MCHC、中性/淋巴/单核/嗜酸/嗜碱比例。",
        L"注意：剧烈运动、情绪、采血时间可影响结果；PLT 聚集需涂片复核。"}},
      {true,
       2,
       {L"生化全套（红/金黄管）：肝功（ALT/AST/ALP/GGT/胆红素/白蛋白）、肾功（BUN/Cr/UA）、血糖、血脂、电解质。",
        L"注意：空腹 8-12 小时；溶血标本钾、AST 假性升高。"}},
      {true,
       3,
       {L"凝血四项（淡蓝管）：PT、INR、APTT、TT、纤维蛋白原、D-二聚体。",
        L"注意：采血量必须达刻度；肝素治疗中查 APTT。"}},
      {true,
       4,
       {L"甲状腺功能（红/金黄管）：TSH、FT3、FT4、TPOAb、TgAb。",
        L"注意：空腹；含碘造影剂后 1 周内避免复查。"}},
      {true,
       5.5,
       {L"心肌损伤标志物：cTnI/cTnT、CK-MB、肌红蛋白、BNP/NT-proBNP。",
        L"注意：胸痛发作后 2-4 小时开始升高；动态复查更有意义。"}},
      {true, 6, other},
      {true, 0, other},
      {true, -1, other},
      {true, 3e9, other},
      {false, 0, other},
  };
  for (const SelectorRow& row : rows)
    EXPECT_EQ(row.lines,
              report_lines(run_test_report_with(11, "panel", row.present, row.value).result))
        << "panel " << row.value << " present " << row.present;
}

TEST(ReportFixedText, SelectorsReadOnlyTheirOwnKey) {
  // Kind 11 reads "panel", not "kind"; kind 3 reads "kind", not "panel".
  EXPECT_EQ(std::wstring(
                L"尿常规（清洁中段尿）：尿蛋白、尿糖、尿潜血、白细胞、亚硝酸盐、比重、pH、镜检。"),
            report_lines(run_test_report(11, {{"kind", 1}}).result)[0]);
  EXPECT_EQ(std::wstring(L"本次：其他项目，请按检验科项目手册执行。"),
            report_lines(run_test_report(3, {{"panel", 1}}).result)[8]);
}

}  // namespace
