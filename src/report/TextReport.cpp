#include "report/TextReport.h"

#include <variant>

namespace zelvo {

namespace {

std::string FailureText(const Failure& failure) {
    return (failure.withheld ? "（省略） " : "（取得できません） ") + failure.reason;
}

template <typename T, typename Show>
std::string FactText(const Fact<T>& fact, Show show) {
    if (const auto* failure = std::get_if<Failure>(&fact))
        return FailureText(*failure);
    return show(std::get<T>(fact));
}

std::string Text(const Fact<std::string>& fact) {
    return FactText(fact, [](const std::string& text) { return text; });
}

void Line(std::string& out, const std::string& label, const std::string& value) {
    out += "  " + label + "  " + value + "\n";
}

void SizeLines(std::string& out, const Fact<SizeFacts>& fact) {
    if (const auto* failure = std::get_if<Failure>(&fact)) {
        out += "  " + FailureText(*failure) + "\n";
        return;
    }
    const SizeFacts& size = std::get<SizeFacts>(fact);
    if (const auto* failure = std::get_if<Failure>(&size.figures)) {
        out += "  " + FailureText(*failure) + "\n";
        return;
    }
    const UsageFigures& figures = std::get<UsageFigures>(size.figures);
    Line(out, "全容量", figures.totalText);
    Line(out, "使用量", figures.usedText);
    Line(out, "空容量", figures.freeText);
    Line(out, "使用率", figures.percentageText);
}

}  // namespace

std::string TextReport(const MachineFacts& facts, const ReportStamp& stamp) {
    std::string out = "Zelvo " + stamp.zelvoVersion + "  " + stamp.taken + "\n";

    out += "\n[ディスク]\n";
    for (const DriveFacts& drive : facts.drives) {
        out += drive.row.textUtf8 + "\n";
        SizeLines(out, drive.size);
        Line(out, "ファイルシステム", Text(drive.fileSystem));
        Line(out, "シリアル番号", Text(drive.serialText));
    }

    out += "\n[メモリ]\n";
    SizeLines(out, facts.memory);

    out += "\n[CPU]\n";
    Line(out, "Name", Text(facts.cpu.name));
    Line(out, "Vendor", Text(facts.cpu.vendor));
    if (facts.cpu.load)
        Line(out, "使用率", FactText(*facts.cpu.load, [](std::int32_t load) { return std::to_string(load) + " %"; }));
    Line(out, "周波数", FactText(facts.cpu.clock, [](const ClockFacts& clock) { return clock.text; }));

    out += "\n[BIOS]\n";
    if (const auto* failure = std::get_if<Failure>(&facts.bios)) {
        out += "  " + FailureText(*failure) + "\n";
    } else {
        const BiosFacts& bios = std::get<BiosFacts>(facts.bios);
        out += bios.heading + "\n";
        for (const std::string& line : bios.memoText)
            out += line + "\n";
    }

    out += "\n[画面]\n";
    if (const auto* failure = std::get_if<Failure>(&facts.display.modes)) {
        out += "  " + FailureText(*failure) + "\n";
    } else {
        for (const std::string& line : facts.display.pageLines)
            out += line + "\n";
    }

    out += "\n[ユーザー 情報]\n";
    Line(out, "使用者", Text(facts.user.owner));
    Line(out, "会社名", Text(facts.user.organization));
    Line(out, "ＰＣ名", Text(facts.user.computerName));
    return out;
}

}  // namespace zelvo
