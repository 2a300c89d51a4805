#include "widgets/forms/choicecombobox.h"
#include "widgets/forms/formbinder.h"
#include "widgets/forms/tagchooserwidget.h"
#include "widgets/forms/unitlineedit.h"

#include "sql/basemessage_sqltable.h"

#include "hostfixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QValidator>
#include <QtTest>

Q_DECLARE_METATYPE(InputRules::Rule)

namespace {

// A small listing form, its rows declared the way the entry forms declare theirs.
struct ListingForm
{
    QWidget page;
    QLineEdit *name = add<QLineEdit>("nameLineEdit");
    QLineEdit *floors = add<QLineEdit>("floorslineEdit");
    UnitLineEdit *price = add<UnitLineEdit>("priceLineEdit");
    ChoiceComboBox *renovation = add<ChoiceComboBox>("comboBox_zhuangXiu");
    TagChooserWidget *tags = add<TagChooserWidget>("tagChooser");
    QCheckBox *keys = add<QCheckBox>("checkBox_key");
    QLineEdit *keyPlace = add<QLineEdit>("keyslineEdit");
    QTextEdit *remark = add<QTextEdit>("remarktextEdit");
    FormBinder binder{&page,
                      {{"nameLineEdit", "name", "name", FormField::Text, FormField::Required, "请填写小区名"},
                       {"floorslineEdit", "floors", "floors", FormField::Integer, FormField::Required, "请填写所在楼层"},
                       {"priceLineEdit", "price", "price", FormField::Decimal, FormField::Required, "请填写价格"},
                       {"comboBox_zhuangXiu", "renovation", "renovation", FormField::Choice},
                       {"tagChooser", "tags", "tags", FormField::Tags},
                       {"checkBox_key", "havekeys", "havekeys", FormField::Check},
                       {"keyslineEdit", "keys", "keys", FormField::Text, FormField::SkipEmpty},
                       {"remarktextEdit", "remark", "remark", FormField::Text},
                       {"unitPriceEcho", "", "unitprice", FormField::Text}}};

    template <typename T>
    T *add(const char *objectName)
    {
        auto *w = new T(&page);
        w->setObjectName(QLatin1String(objectName));
        return w;
    }

    ListingForm()
    {
        renovation->setChoices({"毛坯", "精装修"}, true);
        tags->setChoices({"满二", "满五", "学区房"});
        binder.fill({{"name", "阳光小区"}, {"floors", 5}, {"price", 120.5}, {"renovation", "精装修"},
                     {"tags", "学区房,满五"}, {"havekeys", 1}, {"keys", "门店"}, {"remark", "南北通透"}});
    }
};

} // namespace

class TestFormKit : public QObject
{
    Q_OBJECT

private slots:
    void inputRules_data();
    void inputRules();
    void choiceLists();
    void tagChooser();
    void binderFillsAndCollectsInTableOrder();
    void binderFirstProblem_data();
    void binderFirstProblem();
};

// The validator is what the user meets while typing; accepts() is what a form checks on
// submit, where a half-typed value does not pass.
void TestFormKit::inputRules_data()
{
    QTest::addColumn<InputRules::Rule>("rule");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("typing");
    QTest::addColumn<bool>("complete");

    const int ok = QValidator::Acceptable, partial = QValidator::Intermediate, refused = QValidator::Invalid;
    QTest::newRow("int negative") << InputRules::Integer << "-2" << ok << true;
    QTest::newRow("int lone minus") << InputRules::Integer << "-" << partial << false;
    QTest::newRow("int decimal") << InputRules::Integer << "3.5" << refused << false;
    QTest::newRow("dec 6+4 digits") << InputRules::Decimal << "123456.1234" << ok << true;
    QTest::newRow("dec seven digits") << InputRules::Decimal << "1234567" << refused << false;
    QTest::newRow("dec five decimals") << InputRules::Decimal << "1.12345" << refused << false;
    QTest::newRow("dec leading zero") << InputRules::Decimal << "01" << refused << false;
    QTest::newRow("dec trailing point") << InputRules::Decimal << "12." << partial << false;
    QTest::newRow("dec empty") << InputRules::Decimal << "" << ok << true;
    QTest::newRow("dec tab") << InputRules::Decimal << "\t" << ok << true;
}

void TestFormKit::inputRules()
{
    QFETCH(InputRules::Rule, rule);
    QFETCH(QString, text);
    QFETCH(int, typing);
    QFETCH(bool, complete);

    QLineEdit edit;
    InputRules::apply(&edit, rule);
    QString copy = text;
    int pos = copy.size();
    QCOMPARE(int(edit.validator()->validate(copy, pos)), typing);
    QCOMPARE(InputRules::accepts(rule, text), complete);
}

void TestFormKit::choiceLists()
{
    HostFixture host;
    BaseMessage_SqlTable reference(nullptr, true);
    QVERIFY(reference.setValue(QStringLiteral("zhuangxiu"), QStringLiteral(R"([{"name":"毛坯"},{"name":"精装修"}])")));
    QVERIFY(reference.setValue(QStringLiteral("customerrentset"), QStringLiteral(R"({"fukuan":["押一付三","年付"]})")));

    ChoiceComboBox combo;
    combo.setChoiceList(QStringLiteral("zhuangxiu"), true);
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.value(), QString());
    combo.setChoiceList(QStringLiteral("customerrentset"), QStringLiteral("fukuan"));
    QCOMPARE(combo.choices(), QStringList({"押一付三", "年付"}));
    QCOMPARE(combo.value(), QStringLiteral("押一付三"));
    // The agency's own book keeps reference data of its own.
    combo.setChoiceList(QStringLiteral("zhuangxiu"), false, false);
    QCOMPARE(combo.count(), 0);

    // An older record's choice is kept, so saving the record again does not lose it.
    combo.setChoices({"东", "南"}, true);
    combo.setValue(QStringLiteral("南北"));
    QCOMPARE(combo.value(), QStringLiteral("南北"));
    combo.setValue(QString());
    QCOMPARE(combo.currentIndex(), 0);
    combo.setChoices({"随时", "预约"});
    combo.setValue(QString());
    QCOMPARE(combo.value(), QString());
}

void TestFormKit::tagChooser()
{
    TagChooserWidget chooser;
    chooser.setChoices({"a", "b", "c"});
    // Items come out in list order; blanks, empty items and unknown items are handled.
    chooser.setValue(QStringLiteral(" c ,,x,a"));
    QCOMPARE(chooser.value(), QStringLiteral("a,c,x"));
    chooser.setChoices({"c", "d"});
    QCOMPARE(chooser.value(), QStringLiteral("c,a,x"));

    chooser.setChoices({"a", "b", "c"});
    chooser.setValue(QString());
    chooser.setMaxChecked(2);
    QSignalSpy refused(&chooser, &TagChooserWidget::limitReached);
    for (const char *item : {"a", "c", "b"})
        chooser.button(QLatin1String(item))->click();
    QCOMPARE(chooser.value(), QStringLiteral("a,c"));
    QCOMPARE(refused.size(), 1);
    chooser.button(QStringLiteral("a"))->click();
    chooser.button(QStringLiteral("b"))->click();
    QCOMPARE(chooser.value(), QStringLiteral("b,c"));
}

void TestFormKit::binderFillsAndCollectsInTableOrder()
{
    ListingForm form;
    QCOMPARE(form.binder.missingWidgets(), QStringList({"unitPriceEcho"}));
    QVERIFY(form.floors->validator() && form.price->validator() && !form.name->validator());
    const FormBinder::PostForm expected{{"name", "阳光小区"}, {"floors", "5"}, {"price", "120.5"},
                                        {"renovation", "精装修"}, {"tags", "满五,学区房"},
                                        {"havekeys", "1"}, {"keys", "门店"}, {"remark", "南北通透"}};
    QCOMPARE(form.binder.collect(), expected);

    // Missing record fields leave their widgets alone; large numbers never become exponents;
    // an empty row marked so is left out, others are posted empty.
    form.binder.fill({{"price", 1234567.0}, {"havekeys", false}, {"keys", ""}, {"remark", ""}});
    QCOMPARE(form.name->text(), QStringLiteral("阳光小区"));
    QCOMPARE(form.price->text(), QStringLiteral("1234567"));
    const FormBinder::PostForm posted = form.binder.collect();
    QCOMPARE(posted.size(), 7);
    QCOMPARE(posted.at(5), qMakePair(QStringLiteral("havekeys"), QStringLiteral("0")));
    QCOMPARE(posted.at(6), qMakePair(QStringLiteral("remark"), QString()));

    QCOMPARE(FormBinder::toBody({{"types", "0"}, {"name", "A&B=C"}, {"remark", "满 %"}}),
             QByteArray("types=0&name=A%26B%3DC&remark=%E6%BB%A1%20%25"));
}

void TestFormKit::binderFirstProblem_data()
{
    QTest::addColumn<QVariantMap>("changes");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("message");

    QTest::newRow("all fine") << QVariantMap() << QString() << QString();
    QTest::newRow("blank name") << QVariantMap{{"name", "  "}} << "nameLineEdit" << "请填写小区名";
    QTest::newRow("floor zero") << QVariantMap{{"floors", "0"}} << "floorslineEdit" << "请填写所在楼层";
    QTest::newRow("floor half typed") << QVariantMap{{"floors", "-"}} << "floorslineEdit" << "请填写所在楼层";
    QTest::newRow("price 0.0") << QVariantMap{{"price", "0.0"}} << "priceLineEdit" << "请填写价格";
    QTest::newRow("price too long") << QVariantMap{{"price", "1234567"}} << "priceLineEdit" << "请填写价格";
    QTest::newRow("table order") << QVariantMap{{"price", ""}, {"floors", ""}} << "floorslineEdit" << "请填写所在楼层";
    QTest::newRow("number in blanks") << QVariantMap{{"price", " 90 "}} << QString() << QString();
    QTest::newRow("optional rows empty") << QVariantMap{{"keys", ""}, {"tags", ""}} << QString() << QString();
}

void TestFormKit::binderFirstProblem()
{
    QFETCH(QVariantMap, changes);
    QFETCH(QString, objectName);
    QFETCH(QString, message);

    ListingForm form;
    form.binder.fill(changes);
    const FormBinder::Problem problem = form.binder.firstProblem();
    QCOMPARE(problem.isValid(), objectName.isEmpty());
    QCOMPARE(problem.objectName, objectName);
    QCOMPARE(problem.message, message);
    QCOMPARE(problem.widget, form.binder.widget(objectName));
}

QTEST_MAIN(TestFormKit)
#include "tst_formkit.moc"
