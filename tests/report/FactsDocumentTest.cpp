// The JSON document of every simulated machine and every recorded Linux tree against the shipped
// JSON Schema (checked by python3-jsonschema), and what the document says when a fact fails.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/linux/LinuxPlatform.h"
#include "platform/sim/SimPlatform.h"
#include "report/JsonReport.h"
#include "report/JsonString.h"
#include "report/MachineFacts.h"
#include "report/TextReport.h"
#include "support/LinuxFixtureMachine.h"

namespace zelvo {
namespace {

using platform::makeNtMachine;
using platform::makeWin9xMachine;
using platform::SimMachine;
using platform::SimPlatform;

const ReportStamp kStamp{"1.2", "2026-12-09T18:40:11Z"};

std::string DocumentOf(platform::Platform& platform, bool redact = false) {
    FactOptions options;
    options.redact = redact;
    platform.desktop().connectDesktop({{}, {}, platform::WindowSystem::Unconnected, {}});
    return JsonReport(GatherFacts(platform, options), kStamp);
}

// Empty when `document` passes the schema, else the validator's complaint.
std::string SchemaComplaint(const std::string& document) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/facts.json";
    std::ofstream(path) << document;
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import json,sys,jsonschema\n"
                                 "schema=json.load(open(sys.argv[1]))\n"
                                 "jsonschema.Draft202012Validator.check_schema(schema)\n"
                                 "jsonschema.Draft202012Validator(schema).validate(json.load(open(sys.argv[2])))\n"),
                  QStringLiteral(ZELVO_FACTS_SCHEMA), QString::fromStdString(path)});
    python.waitForFinished(60000);
    if (python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0)
        return {};
    return python.readAllStandardError().toStdString();
}

QJsonObject Parsed(const std::string& document) {
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(document), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return json.object();
}

bool IsFailure(const QJsonValue& value) {
    return value.isObject() && value.toObject().contains(QStringLiteral("failure"));
}

TEST(FactsDocument, SimulatedMachinesPassTheSchema) {
    for (auto make : {makeWin9xMachine, makeNtMachine}) {
        SimMachine machine = make();
        SimPlatform platform(machine);
        const std::string document = DocumentOf(platform);
        SCOPED_TRACE(document);
        EXPECT_EQ(SchemaComplaint(document), "");
        const QJsonObject json = Parsed(document);
        const bool nine = json[QStringLiteral("platform")][QStringLiteral("family")].toInt() == 1;
        // The load exists only where the family publishes it.
        EXPECT_EQ(json[QStringLiteral("cpu")].toObject().contains(QStringLiteral("load")), nine);
        EXPECT_FALSE(json[QStringLiteral("drives")].toArray().isEmpty());
    }
}

TEST(FactsDocument, RecordedLinuxTreesPassTheSchema) {
    for (const char* name :
         {"amd-laptop", "docker-container", "firecracker-vm", "intel-desktop", "qemu-vm", "raspberry-pi-4"}) {
        SCOPED_TRACE(name);
        QTemporaryDir config;
        platform::LinuxPlatform platform(test::optionsFor(name, config));
        const std::string document = DocumentOf(platform);
        EXPECT_EQ(SchemaComplaint(document), "") << document;
        EXPECT_FALSE(IsFailure(Parsed(document)[QStringLiteral("memory")])) << document;
    }
}

TEST(FactsDocument, DamagedMeminfoFailsTheMemoryEntryAlone) {
    QTemporaryDir config;
    QTemporaryDir copy;
    const std::string proc = copy.path().toStdString() + "/proc";
    std::filesystem::copy(test::machineDir("intel-desktop") + "/proc", proc, std::filesystem::copy_options::recursive);
    std::ofstream(proc + "/meminfo", std::ios::trunc) << "MemTotal: lots of kB\nMemFree:\n";
    platform::LinuxPlatformOptions options = test::optionsFor("intel-desktop", config);
    options.roots.proc = proc;
    platform::LinuxPlatform platform(options);
    const std::string document = DocumentOf(platform);
    EXPECT_EQ(SchemaComplaint(document), "") << document;
    const QJsonObject json = Parsed(document);
    EXPECT_TRUE(IsFailure(json[QStringLiteral("memory")])) << document;
    // The recorded machines hold no mount table; the other pages stand for the rest.
    EXPECT_FALSE(IsFailure(json[QStringLiteral("bios")])) << document;
    EXPECT_TRUE(json[QStringLiteral("cpu")][QStringLiteral("name")].isString()) << document;
    EXPECT_TRUE(json[QStringLiteral("user")][QStringLiteral("computerName")].isString()) << document;
}

TEST(FactsDocument, RedactedDocumentWithholdsWhatIdentifies) {
    SimMachine machine = makeNtMachine();
    SimPlatform platform(machine);
    const std::string plain = DocumentOf(platform);
    const std::string document = DocumentOf(platform, true);
    EXPECT_EQ(SchemaComplaint(document), "");
    const QJsonObject json = Parsed(document);
    for (const char* key : {"owner", "organization", "computerName"})
        EXPECT_TRUE(json[QStringLiteral("user")][QLatin1String(key)].toObject().contains(QStringLiteral("withheld")))
            << key;
    for (const QJsonValue drive : json[QStringLiteral("drives")].toArray()) {
        EXPECT_TRUE(drive[QStringLiteral("serial")].toObject().contains(QStringLiteral("withheld")));
        if (drive.toObject().contains(QStringLiteral("networkName"))) {
            EXPECT_EQ(drive[QStringLiteral("row")].toString().size(), 2);
        }
    }
    // What is left out is nowhere else in the document.
    const QJsonObject user = Parsed(plain)[QStringLiteral("user")].toObject();
    for (const char* key : {"owner", "organization", "computerName"})
        if (user[QLatin1String(key)].isString()) {
            EXPECT_EQ(document.find(JsonString(user[QLatin1String(key)].toString().toStdString())), std::string::npos)
                << key;
        }
}

TEST(TextReportSections, OnePerPageInPageOrder) {
    SimMachine machine = makeWin9xMachine();
    SimPlatform platform(machine);
    const std::string text = TextReport(GatherFacts(platform, {}), kStamp);
    std::size_t at = 0;
    for (const char* heading : {"[ディスク]", "[メモリ]", "[CPU]", "[BIOS]", "[画面]", "[ユーザー 情報]"}) {
        const std::size_t found = text.find(heading, at);
        ASSERT_NE(found, std::string::npos) << heading << "\n" << text;
        at = found;
    }
    EXPECT_NE(text.find("使用率"), std::string::npos);
    EXPECT_NE(text.find("モード番号"), std::string::npos) << text;
}

}  // namespace
}  // namespace zelvo
