// The per-user registration file behind the registry's registration values.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/linux/RegistrationFile.h"
#include "platform/linux/RegistrationStore.h"

namespace zelvo::platform {
namespace {

RegValue sz(const std::string& text) {
    return RegValue{kRegSz, text + std::string(1, '\0')};
}

std::optional<RegValue> find(const std::vector<std::pair<std::string, RegValue>>& values, const std::string& name) {
    for (const auto& [n, v] : values)
        if (n == name)
            return v;
    return std::nullopt;
}

TEST(LinuxRegistrationStore, DefaultsBeforeAnythingIsRegistered) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    RegistrationStore store(dir.path(), "山田 太郎");
    const auto values = store.load();
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(find(values, "RegisteredOwner")->data, sz("山田 太郎").data);
    EXPECT_EQ(find(values, "RegisteredOwner")->type, kRegSz);
    EXPECT_EQ(find(values, "RegisteredOrganization")->data, std::string(1, '\0'));
    // Reading writes nothing.
    EXPECT_FALSE(QFileInfo::exists(store.filePath()));
}

TEST(LinuxRegistrationStore, ValuesReadBackAsWritten) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        const char* label;
        std::string name;
        RegValue value;
    } cases[] = {
        {"plain owner", "RegisteredOwner", sz("Taro Yamada")},
        {"Japanese organization", "RegisteredOrganization", sz("株式会社ゼルボ")},
        {"longer than the page's 255-byte buffer", "RegisteredOwner", sz(std::string(300, 'x') + "終")},
        {"empty string", "RegisteredOrganization", sz("")},
        {"line breaks and ini syntax", "RegisteredOwner", sz("a=b\r\n[c];d\\e\"f\"")},
        {"string without its terminating zero", "RegisteredOwner", RegValue{kRegSz, "abc"}},
        {"string with an inner zero", "RegisteredOwner", RegValue{kRegSz, std::string("a\0b\0", 4)}},
        {"bytes that are not UTF-8", "RegisteredOwner", RegValue{kRegSz, std::string("\x82\xa0\xff\0", 4)}},
        {"binary value", "Blob", RegValue{kRegBinary, std::string("\0\x01\xfe\xff", 4)}},
        {"number", "Count", RegValue{kRegDword, std::string("\x2a\0\0\0", 4)}},
        {"name with separators", "a/b\\c d%", sz("separators")},
        {"spaces at the ends, commas, semicolons", "RegisteredOrganization", sz("  a, b ; c  ")},
        {"leading @, quotes, backslash", "RegisteredOwner", sz("@ByteArray(x) \"q\" \\")},
        {"control characters before hex digits", "RegisteredOwner",
         sz("\x01"
            "1\x1f"
            "f\tA\x7f"
            "0")},
        {"binary high bytes before hex digits", "Blob",
         RegValue{kRegBinary, std::string("\x80"
                                          "1\xff\0a)",
                                          6)}},
        {"a value called General", "General", sz("general")},
        {"a name outside Latin-1", "名前", sz("x")},
        {"the key's default value, whose name is empty", "", RegValue{10, ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RegistrationStore writer(dir.path(), "default");
        ASSERT_TRUE(writer.store(c.name, c.value));
        // A second store on the same file stands for another running copy.
        RegistrationStore reader(dir.path(), "default");
        const auto value = find(reader.load(), c.name);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, c.value.type);
        EXPECT_EQ(value->data, c.value.data);
    }
}

TEST(LinuxRegistrationStore, NamesIgnoreCaseAndWritesReplace) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    RegistrationStore store(dir.path(), "default");
    ASSERT_TRUE(store.store("registeredowner", sz("first")));
    ASSERT_TRUE(store.store("RegisteredOwner", sz("second")));
    const auto values = store.load();
    int owners = 0;
    for (const auto& [name, value] : values)
        if (QString::fromStdString(name).compare("RegisteredOwner", Qt::CaseInsensitive) == 0) {
            ++owners;
            EXPECT_EQ(value.data, sz("second").data);
        }
    EXPECT_EQ(owners, 1);
    // A registered empty owner stays empty; the default is only for a never-registered one.
    ASSERT_TRUE(store.store("RegisteredOwner", sz("")));
    EXPECT_EQ(find(store.load(), "RegisteredOwner")->data, sz("").data);
}

TEST(LinuxRegistrationStore, SeesChangesMadeOnDisk) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    RegistrationStore store(dir.path(), "default");
    ASSERT_TRUE(store.store("RegisteredOwner", sz("before")));
    ASSERT_EQ(find(store.load(), "RegisteredOwner")->data, sz("before").data);

    // Another program (or copy) rewrites the file.
    QFile file(store.filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[RegisteredOwner]\ntype=1\ntext=changed elsewhere\n");
    file.close();
    EXPECT_EQ(find(store.load(), "RegisteredOwner")->data, sz("changed elsewhere").data);

    ASSERT_TRUE(QFile::remove(store.filePath()));
    EXPECT_EQ(find(store.load(), "RegisteredOwner")->data, sz("default").data);
}

// Found by fuzzing: a file another program wrote may hold one name twice in different case. The
// registry cannot, so one of them (the first) is the value, and a write leaves one behind.
TEST(LinuxRegistrationStore, NamesDifferingInCaseOnDiskReadAsOne) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    RegistrationStore store(dir.path(), "default");
    QFile file(store.filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[RegisteredOwner]\ntype=1\ntext=upper\n[registeredowner]\ntype=1\ntext=lower\n");
    file.close();
    auto owners = [&store] {
        int count = 0;
        for (const auto& [name, value] : store.load())
            count += sameValueName(name, "RegisteredOwner") ? 1 : 0;
        return count;
    };
    EXPECT_EQ(owners(), 1);
    EXPECT_EQ(find(store.load(), "RegisteredOwner")->data, sz("upper").data);
    ASSERT_TRUE(store.store("REGISTEREDOWNER", sz("written")));
    EXPECT_EQ(owners(), 1);
}

TEST(LinuxRegistrationStore, WritesLeaveNoTemporaryFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    RegistrationStore store(dir.filePath("nested/zelvo"), "default");
    ASSERT_TRUE(store.store("RegisteredOwner", sz("owner")));
    ASSERT_TRUE(store.store("RegisteredOrganization", sz("organization")));
    const QStringList files = QDir(dir.filePath("nested/zelvo")).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(files, QStringList{"registration.ini"});
}

TEST(LinuxRegistrationStore, UnwritableDirectoryFailsTheWrite) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A regular file where the directory should be: nothing can be created below it, even as root.
    QFile blocker(dir.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RegistrationStore store(dir.filePath("blocked"), "default");
    EXPECT_FALSE(store.store("RegisteredOwner", sz("lost")));
    EXPECT_EQ(find(store.load(), "RegisteredOwner")->data, sz("default").data);
}

TEST(LinuxRegistrationStore, OwnerFromTheAccount) {
    const struct {
        const char* gecos;
        const char* login;
        const char* owner;
    } cases[] = {
        {"Taro Yamada,Room 101,555-1234,,", "taro", "Taro Yamada"},
        {"山田 太郎", "taro", "山田 太郎"},
        {"", "taro", "taro"},
        {",,,", "taro", "taro"},
        {"  Spaced Name  ,x", "spaced", "Spaced Name"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gecos);
        EXPECT_EQ(ownerFromAccount(c.gecos, c.login), c.owner);
    }
}

}  // namespace
}  // namespace zelvo::platform
