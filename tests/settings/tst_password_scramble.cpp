// SPDX-License-Identifier: MIT
#include "test_registry.h"

#include "settings/password_scramble.h"

#include <QSet>
#include <QtTest>

#include <vector>

using namespace orin;

namespace {

// Hands out the numbers in turn, then repeats the last one.
RandomSource Sequence(std::vector<std::uint32_t> numbers)
{
    auto index = std::make_shared<size_t>(0);
    return [numbers = std::move(numbers), index] {
        const size_t i = std::min(*index, numbers.size() - 1);
        ++*index;
        return numbers[i];
    };
}

RandomSource Counter(std::uint32_t start)
{
    auto next = std::make_shared<std::uint32_t>(start);
    return [next] { return (*next)++ * 2654435761u; };
}

bool IsUpperHex(const QString &text)
{
    for (const QChar c : text) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return true;
}

} // namespace

class TestPasswordScramble : public QObject
{
    Q_OBJECT

private slots:
    void knownOutput_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("scrambled");
        // r = 0x34: two prefix pairs, then the XOR chain and the check 4856-hash * 331 + r.
        QTest::newRow("Pass1") << QStringLiteral("Pass1") << QStringLiteral("ABCD64057605347C4306");
        QTest::newRow("empty") << QString() << QStringLiteral("ABCDDC8618");
    }

    void knownOutput()
    {
        QFETCH(QString, password);
        QFETCH(QString, scrambled);
        QCOMPARE(ScramblePassword(password, Sequence({0x1234, 0xAB, 0x1CD, 7})), scrambled);
        QCOMPARE(UnscramblePassword(scrambled), password);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("one char") << QStringLiteral("a");
        QTest::newRow("word") << QStringLiteral("password");
        QTest::newRow("symbols and blanks") << QStringLiteral(" P@ss w0rd!~\"'\\= ");
        QString printable;
        for (char16_t c = 0x20; c <= 0x7E; ++c)
            printable.append(QChar(c));
        QTest::newRow("all printable ASCII") << printable.left(kPasswordMaxLength);
        QTest::newRow("longest accepted") << QString(kPasswordMaxLength, u'z');
        QTest::newRow("Latin-1 reads back as itself") << QStringLiteral("caf\u00e9\u00ff");
    }

    void roundTrip()
    {
        QFETCH(QString, password);
        for (std::uint32_t seed = 0; seed < 40; ++seed) {
            const QString scrambled = ScramblePassword(password, Counter(seed));
            QVERIFY2(IsUpperHex(scrambled), qPrintable(scrambled));
            QCOMPARE(scrambled.size() % 2, 0);
            // An accepted password always fits a settings value, whatever the prefix length.
            if (CanScramblePassword(password))
                QVERIFY(scrambled.size() <= 255);
            bool ok = false;
            QCOMPARE(UnscramblePassword(scrambled, &ok), password);
            QVERIFY(ok);
        }
        QCOMPARE(UnscramblePassword(ScramblePassword(password)), password);
    }

    void twoScramblesDiffer()
    {
        QSet<QString> seen;
        for (int i = 0; i < 8; ++i) {
            const QString scrambled = ScramblePassword(QStringLiteral("secret"));
            QCOMPARE(UnscramblePassword(scrambled), QStringLiteral("secret"));
            seen.insert(scrambled);
        }
        QVERIFY(seen.size() > 1);
    }

    void emptyPassword()
    {
        for (std::uint32_t r = 0; r < 256; r += 37) {
            const QString scrambled = ScramblePassword(QString(), Sequence({r, 0x11}));
            QCOMPARE(scrambled.size(), static_cast<qsizetype>(2 * (r % 10) + 6));
            bool ok = false;
            QCOMPARE(UnscramblePassword(scrambled, &ok), QString());
            QVERIFY(ok);
        }
    }

    void malformed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("ok");
        QTest::newRow("empty") << QString() << QString() << true;
        QTest::newRow("five characters") << QStringLiteral("ABCDE") << QString() << true;
        QTest::newRow("odd length")
            << QStringLiteral("ABCD64057605347C43061") << QString() << false;
        QTest::newRow("seven characters") << QStringLiteral("0900001") << QString() << false;
        QTest::newRow("not hexadecimal")
            << QStringLiteral("ABCD6405760534ZC4306") << QString() << false;
        QTest::newRow("wide characters")
            << QStringLiteral("ＡＢＣＤ6405760534") << QString() << false;
        // r = 9 asks to skip nine prefix pairs where there are none, or only two.
        QTest::newRow("prefix beyond text") << QStringLiteral("090000") << QString() << false;
        QTest::newRow("prefix beyond pairs") << QStringLiteral("1122090000") << QString() << false;
        QTest::newRow("lower case accepted")
            << QStringLiteral("abcd64057605347c4306") << QStringLiteral("Pass1") << true;
    }

    void malformed()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(bool, ok);
        bool actualOk = !ok;
        QCOMPARE(UnscramblePassword(text, &actualOk), expected);
        QCOMPARE(actualOk, ok);
    }

    void acceptedPasswords_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        const QString chars = kPasswordCharsMessage.toString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("ASCII") << QStringLiteral("Abc123 !#$%&'()~") << QString();
        QTest::newRow("longest") << QString(kPasswordMaxLength, u'x') << QString();
        QTest::newRow("too long") << QString(kPasswordMaxLength + 1, u'x')
                                  << kPasswordLengthMessage.toString();
        QTest::newRow("Japanese") << QStringLiteral("パスワード") << chars;
        QTest::newRow("Latin-1") << QStringLiteral("caf\u00e9") << chars;
        QTest::newRow("tab") << QStringLiteral("a\tb") << chars;
        QTest::newRow("DEL") << QStringLiteral("a\u007f") << chars;
    }

    void acceptedPasswords()
    {
        QFETCH(QString, password);
        QFETCH(QString, message);
        QCOMPARE(PasswordRefusalMessage(password), message);
        QCOMPARE(CanScramblePassword(password), message.isEmpty());
    }
};

ORIN_TEST_CLASS(TestPasswordScramble)
#include "tst_password_scramble.moc"
