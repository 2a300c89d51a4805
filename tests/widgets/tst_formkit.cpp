#include "widgets/forms/choicecombobox.h"
#include "widgets/forms/formbinder.h"
#include "widgets/forms/inputrules.h"
#include "widgets/forms/tagchooserwidget.h"
#include "widgets/forms/unitlineedit.h"

#include "sql/basemessage_sqltable.h"

#include "hostfixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedPointer>
#include <QSignalSpy>
#include <QTextEdit>
#include <QValidator>
#include <QtTest>

Q_DECLARE_METATYPE(InputRules::Rule)

namespace {

// A small listing form: the rows mirror how the entry forms declare theirs.
struct ListingForm
{
    QWidget page;
    QLineEdit *name = add<QLineEdit>("nameLineEdit");
    QLineEdit *floors = add<QLineEdit>("floorslineEdit");
    UnitLineEdit *area = add<UnitLineEdit>("builtupareaLineEdit");
    UnitLineEdit *price = add<UnitLineEdit>("priceLineEdit");
    ChoiceComboBox *renovation = add<ChoiceComboBox>("comboBox_zhuangXiu");
    QCheckBox *keys = add<QCheckBox>("checkBox_key");
    TagChooserWidget *tags = add<TagChooserWidget>("tagChooser");
    QTextEdit *remark = add<QTextEdit>("remarktextEdit");
    QLineEdit *keyPlace = add<QLineEdit>("keyslineEdit");
    FormBinder binder{&page, fields()};

    template <typename T>
    T *add(const char *objectName)
    {
        auto *w = new T(&page);
        w->setObjectName(QLatin1String(objectName));
        return w;
    }

    static QList<FormField> fields()
    {
        return {
            {"nameLineEdit", "name", "name", FormField::Text, FormField::Required, "请填写小区名"},
            {"floorslineEdit", "floors", "floors", FormField::Integer, FormField::Required, "请填写所在楼层"},
            {"priceLineEdit", "price", "price", FormField::Decimal, FormField::Required, "请填写价格"},
            {"builtupareaLineEdit", "builtuparea", "builtuparea", FormField::Decimal, FormField::Required, "请填写面积"},
            {"comboBox_zhuangXiu", "renovation", "renovation", FormField::Choice},
            {"tagChooser", "tags", "tags", FormField::Tags},
            {"checkBox_key", "havekeys", "havekeys", FormField::Check},
            {"keyslineEdit", "keys", "keys", FormField::Text, FormField::SkipEmpty},
            {"remarktextEdit", "remark", "remark", FormField::Text},
            // Shown from the record but never posted by this form.
            {"unitLabelEcho", "", "unitprice", FormField::Text},
        };
    }

    ListingForm()
    {
        renovation->setChoices({"毛坯", "简单装修", "精装修"}, true);
        tags->setChoices({"满二", "满五", "学区房"});
    }
};

QVariantMap completeRecord()
{
    return {{"name", "阳光小区"}, {"floors", 5}, {"price", 120.5}, {"builtuparea", 88.0},
            {"renovation", "精装修"}, {"tags", "满五,学区房"}, {"havekeys", 1},
            {"keys", "门店"}, {"remark", "南北通透"}};
}

} // namespace

class TestFormKit : public QObject
{
    Q_OBJECT

private slots:
    void inputRules_data();
    void inputRules();
    void unitStaysClearOfText();

    void choiceListFromReferenceData();
    void choiceValues();

    void tagValues_data();
    void tagValues();
    void tagLimit();

    void binderFillsAndCollectsInTableOrder();
    void binderFirstProblem_data();
    void binderFirstProblem();
    void binderBodyIsEncodedInOrder();
    void binderReportsMissingWidgets();
};

// The validator is what the user meets while typing; accepts() is what a form checks on
// submit. Half-typed values are allowed while typing but not sent.
void TestFormKit::inputRules_data()
{
    QTest::addColumn<InputRules::Rule>("rule");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("typing");
    QTest::addColumn<bool>("complete");

    const int ok = QValidator::Acceptable, partial = QValidator::Intermediate, refused = QValidator::Invalid;
    QTest::newRow("int digits") << InputRules::Integer << "12" << ok << true;
    QTest::newRow("int negative") << InputRules::Integer << "-2" << ok << true;
    QTest::newRow("int lone minus") << InputRules::Integer << "-" << partial << false;
    QTest::newRow("int empty") << InputRules::Integer << "" << partial << false;
    QTest::newRow("int letters") << InputRules::Integer << "3a" << refused << false;
    QTest::newRow("int decimal") << InputRules::Integer << "3.5" << refused << false;

    QTest::newRow("dec six digits four decimals") << InputRules::Decimal << "123456.1234" << ok << true;
    QTest::newRow("dec seven digits") << InputRules::Decimal << "1234567" << refused << false;
    QTest::newRow("dec five decimals") << InputRules::Decimal << "1.12345" << refused << false;
    QTest::newRow("dec zero point") << InputRules::Decimal << "0.5" << ok << true;
    QTest::newRow("dec leading zero") << InputRules::Decimal << "01" << refused << false;
    QTest::newRow("dec negative") << InputRules::Decimal << "-3.25" << ok << true;
    QTest::newRow("dec trailing point") << InputRules::Decimal << "12." << partial << false;
    QTest::newRow("dec empty") << InputRules::Decimal << "" << ok << true;
    QTest::newRow("dec tab") << InputRules::Decimal << "\t" << ok << true;
    QTest::newRow("dec letters") << InputRules::Decimal << "1e5" << refused << false;

    QTest::newRow("text anything") << InputRules::AnyText << "随便 12.x" << ok << true;
}

void TestFormKit::inputRules()
{
    QFETCH(InputRules::Rule, rule);
    QFETCH(QString, text);
    QFETCH(int, typing);
    QFETCH(bool, complete);

    QLineEdit edit;
    InputRules::apply(&edit, rule);
    if (rule == InputRules::AnyText) {
        QVERIFY(!edit.validator());
    } else {
        QString copy = text;
        int pos = copy.size();
        QCOMPARE(int(edit.validator()->validate(copy, pos)), typing);
    }
    QCOMPARE(InputRules::accepts(rule, text), complete);
}

void TestFormKit::unitStaysClearOfText()
{
    UnitLineEdit edit(QStringLiteral("万元"));
    edit.resize(200, 30);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QLabel *label = edit.findChild<QLabel *>(QStringLiteral("unitLabel"));
    QVERIFY(label && label->isVisible());
    QCOMPARE(label->text(), QStringLiteral("万元"));
    QVERIFY(label->geometry().right() <= edit.width());
    // Typed text ends before the unit starts.
    QVERIFY(edit.width() - edit.textMargins().right() <= label->geometry().left());

    edit.resize(300, 30);
    QVERIFY(edit.width() - edit.textMargins().right() <= label->geometry().left());
    QVERIFY(label->geometry().left() > 200);

    edit.setUnit(QString());
    QVERIFY(label->isHidden());
    QCOMPARE(edit.textMargins().right(), 0);
}

void TestFormKit::choiceListFromReferenceData()
{
    HostFixture host;
    BaseMessage_SqlTable reference(nullptr, true);
    QVERIFY(reference.setValue(QStringLiteral("zhuangxiu"), QStringLiteral(R"([{"name":"毛坯"},{"name":"精装修"}])")));
    QVERIFY(reference.setValue(QStringLiteral("customerrentset"), QStringLiteral(R"({"fukuan":["押一付三","年付"]})")));

    ChoiceComboBox combo;
    combo.setChoiceList(QStringLiteral("zhuangxiu"), true);
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.itemText(0), QString());
    QCOMPARE(combo.value(), QString());
    QCOMPARE(combo.choices(), QStringList({"毛坯", "精装修"}));

    combo.setChoiceList(QStringLiteral("customerrentset"), QStringLiteral("fukuan"));
    QCOMPARE(combo.choices(), QStringList({"押一付三", "年付"}));
    QCOMPARE(combo.value(), QStringLiteral("押一付三"));

    // The agency's own book has its own reference data.
    combo.setChoiceList(QStringLiteral("zhuangxiu"), false, false);
    QCOMPARE(combo.count(), 0);
    QCOMPARE(combo.value(), QString());
}

void TestFormKit::choiceValues()
{
    ChoiceComboBox combo;
    combo.setChoices({"东", "南", "西"}, true);
    QSignalSpy changed(&combo, &ChoiceComboBox::valueChanged);

    combo.setValue(QStringLiteral("南"));
    QCOMPARE(combo.value(), QStringLiteral("南"));
    QCOMPARE(changed.last().first().toString(), QStringLiteral("南"));

    // An older record's choice is kept, so saving it again does not lose it.
    combo.setValue(QStringLiteral("南北"));
    QCOMPARE(combo.value(), QStringLiteral("南北"));
    QCOMPARE(combo.count(), 5);

    combo.setValue(QString());
    QCOMPARE(combo.currentIndex(), 0);
    QCOMPARE(combo.value(), QString());

    // Without an empty entry, "" means nothing chosen.
    combo.setChoices({"随时", "预约"});
    QCOMPARE(combo.value(), QStringLiteral("随时"));
    combo.setValue(QString());
    QCOMPARE(combo.currentIndex(), -1);
    QCOMPARE(combo.value(), QString());
}

void TestFormKit::tagValues_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::addColumn<int>("buttons");

    QTest::newRow("empty") << "" << "" << 3;
    QTest::newRow("list order, not given order") << "学区房,满二" << "满二,学区房" << 3;
    QTest::newRow("blanks and empty items") << " 满五 ,,学区房, " << "满五,学区房" << 3;
    QTest::newRow("unknown item kept at the end") << "地铁,满二" << "满二,地铁" << 4;
}

void TestFormKit::tagValues()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QFETCH(int, buttons);

    TagChooserWidget chooser;
    chooser.setChoices({"满二", "满五", "学区房"});
    chooser.setValue(in);
    QCOMPARE(chooser.value(), out);
    QCOMPARE(chooser.findChildren<QPushButton *>().size(), buttons);

    // A new list keeps what was chosen.
    chooser.setChoices({"学区房", "满二", "近地铁"});
    const QStringList kept = chooser.checkedItems();
    const QStringList wanted = out.split(QLatin1Char(','), Qt::SkipEmptyParts);
    QCOMPARE(QSet<QString>(kept.begin(), kept.end()), QSet<QString>(wanted.begin(), wanted.end()));
}

void TestFormKit::tagLimit()
{
    TagChooserWidget chooser;
    chooser.setChoices({"a", "b", "c"});
    chooser.setMaxChecked(2);
    QSignalSpy changed(&chooser, &TagChooserWidget::valueChanged);
    QSignalSpy refused(&chooser, &TagChooserWidget::limitReached);

    chooser.button(QStringLiteral("a"))->click();
    chooser.button(QStringLiteral("c"))->click();
    QCOMPARE(chooser.value(), QStringLiteral("a,c"));
    QCOMPARE(changed.size(), 2);

    chooser.button(QStringLiteral("b"))->click();
    QCOMPARE(chooser.value(), QStringLiteral("a,c"));
    QVERIFY(!chooser.button(QStringLiteral("b"))->isChecked());
    QCOMPARE(refused.size(), 1);
    QCOMPARE(refused.first().first().toInt(), 2);
    QCOMPARE(changed.size(), 2);

    // Unticking frees a place.
    chooser.button(QStringLiteral("a"))->click();
    chooser.button(QStringLiteral("b"))->click();
    QCOMPARE(chooser.value(), QStringLiteral("b,c"));
}

void TestFormKit::binderFillsAndCollectsInTableOrder()
{
    ListingForm form;
    form.binder.fill(completeRecord());
    QCOMPARE(form.price->text(), QStringLiteral("120.5"));
    QCOMPARE(form.area->text(), QStringLiteral("88"));
    QVERIFY(form.keys->isChecked());
    QCOMPARE(form.tags->value(), QStringLiteral("满五,学区房"));

    const FormBinder::PostForm expected{{"name", "阳光小区"}, {"floors", "5"}, {"price", "120.5"},
                                        {"builtuparea", "88"}, {"renovation", "精装修"},
                                        {"tags", "满五,学区房"}, {"havekeys", "1"}, {"keys", "门店"},
                                        {"remark", "南北通透"}};
    QCOMPARE(form.binder.collect(), expected);
    QVERIFY(form.binder.firstProblem().isValid());

    // A record without some fields leaves those widgets alone; large and negative numbers
    // are shown plainly.
    form.binder.fill({{"price", 1234567.0}, {"floors", -1}, {"havekeys", false}, {"keys", ""}});
    QCOMPARE(form.name->text(), QStringLiteral("阳光小区"));
    QCOMPARE(form.price->text(), QStringLiteral("1234567"));
    QCOMPARE(form.floors->text(), QStringLiteral("-1"));

    // Empty rows marked so are left out; other empty rows are posted empty.
    form.remark->clear();
    const FormBinder::PostForm posted = form.binder.collect();
    QCOMPARE(posted.size(), 8);
    QVERIFY(!FormBinder::toMap(posted).contains(QStringLiteral("keys")));
    QCOMPARE(posted.at(6), qMakePair(QStringLiteral("havekeys"), QStringLiteral("0")));
    QCOMPARE(posted.last(), qMakePair(QStringLiteral("remark"), QString()));
}

void TestFormKit::binderFirstProblem_data()
{
    QTest::addColumn<QVariantMap>("changes");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("message");

    QTest::newRow("all fine") << QVariantMap() << QString() << QString();
    QTest::newRow("no name") << QVariantMap{{"name", ""}} << "nameLineEdit" << "请填写小区名";
    QTest::newRow("blank name") << QVariantMap{{"name", "  "}} << "nameLineEdit" << "请填写小区名";
    QTest::newRow("floor zero") << QVariantMap{{"floors", "0"}} << "floorslineEdit" << "请填写所在楼层";
    QTest::newRow("floor half typed") << QVariantMap{{"floors", "-"}} << "floorslineEdit" << "请填写所在楼层";
    QTest::newRow("price zero point zero") << QVariantMap{{"price", "0.0"}} << "priceLineEdit" << "请填写价格";
    QTest::newRow("price too long") << QVariantMap{{"price", "1234567"}} << "priceLineEdit" << "请填写价格";
    QTest::newRow("first in table order wins") << QVariantMap{{"builtuparea", ""}, {"floors", ""}}
                                               << "floorslineEdit" << "请填写所在楼层";
    QTest::newRow("area padded with blanks") << QVariantMap{{"builtuparea", " 90 "}} << QString() << QString();
    QTest::newRow("optional rows may be empty") << QVariantMap{{"keys", ""}, {"remark", ""}, {"tags", ""}}
                                                << QString() << QString();
}

void TestFormKit::binderFirstProblem()
{
    QFETCH(QVariantMap, changes);
    QFETCH(QString, objectName);
    QFETCH(QString, message);

    ListingForm form;
    form.binder.fill(completeRecord());
    form.binder.fill(changes);
    const FormBinder::Problem problem = form.binder.firstProblem();
    QCOMPARE(problem.isValid(), objectName.isEmpty());
    QCOMPARE(problem.objectName, objectName);
    QCOMPARE(problem.message, message);
    QCOMPARE(problem.widget, form.binder.widget(objectName));
}

void TestFormKit::binderBodyIsEncodedInOrder()
{
    const FormBinder::PostForm form{{"types", "0"}, {"name", "A&B=C"}, {"remark", "满 五%"}, {"area", ""}};
    QCOMPARE(FormBinder::toBody(form),
             QByteArray("types=0&name=A%26B%3DC&remark=%E6%BB%A1%20%E4%BA%94%25&area="));
}

void TestFormKit::binderReportsMissingWidgets()
{
    ListingForm form;
    QCOMPARE(form.binder.missingWidgets(), QStringList({"unitLabelEcho"}));
    // Number rows got their rule.
    QVERIFY(form.floors->validator());
    QVERIFY(form.price->validator());
    QVERIFY(!form.name->validator());
}

QTEST_MAIN(TestFormKit)
#include "tst_formkit.moc"
