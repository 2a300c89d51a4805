// A settings or reference download's reply handed to its code's handler, as the request layer
// would: the parsed `data`. Input: byte 0 picks the code (and bit 7 the joint-sale book), the
// rest is the reply. Invariants: both databases pass SQLite's integrity check; a reply that is
// not reported as stored leaves both databases and the signed-in state as they were; storing
// the same reply again changes nothing more.
#include "fuzzsupport.h"

#include "datacenter.h"
#include "sql/basesqlobject.h"

#include <QCoreApplication>
#include <QSignalBlocker>

namespace {

using Handler = void (BaseSqlObject::*)(const QJsonValue &);

struct Code
{
    int type;
    Handler handler;
};

const Code kCodes[] = {{2, &BaseSqlObject::dealData_DistricAndArea},
                       {3, &BaseSqlObject::dealData_PublicCategory},
                       {4, &BaseSqlObject::dealData_JobList},
                       {5, &BaseSqlObject::dealData_userInit},
                       {6, &BaseSqlObject::dealData_HouseBookSet},
                       {7, &BaseSqlObject::dealData_HouseBookCategory},
                       {10, &BaseSqlObject::dealData_applist},
                       {11, &BaseSqlObject::dealData_userAuth},
                       {12, &BaseSqlObject::dealData_cityHouseSet},
                       {13, &BaseSqlObject::dealData_cloudDistrict},
                       {14, &BaseSqlObject::dealData_customerBookSet},
                       {15, &BaseSqlObject::dealData_customerBookBaseSet},
                       {16, &BaseSqlObject::dealData_saleContractSet},
                       {17, &BaseSqlObject::dealData_rentContractSet},
                       {19, &BaseSqlObject::dealData_callBabyBaseSet},
                       {20, &BaseSqlObject::dealData_watchCommunityList},
                       {22, &BaseSqlObject::dealData_MyDepartment},
                       {23, &BaseSqlObject::dealData_JointSaleMsg},
                       {24, &BaseSqlObject::dealData_IsJointReviewMsg},
                       {25, &BaseSqlObject::dealData_HouseBookSaleXieZuoSet},
                       {26, &BaseSqlObject::dealData_HouseBookRentXieZuoSet}};
constexpr int kCodeCount = int(sizeof kCodes / sizeof kCodes[0]);

struct State
{
    QByteArray personal;
    QByteArray company;
    int jointSaleCompany;
    bool jointSaleManager;

    bool operator==(const State &o) const
    {
        return personal == o.personal && company == o.company && jointSaleCompany == o.jointSaleCompany
               && jointSaleManager == o.jointSaleManager;
    }
};

State stateOf(bool isJointSale)
{
    return {FuzzSupport::checksum(FuzzSupport::personalConnection(isJointSale)),
            FuzzSupport::checksum(FuzzSupport::companyConnection(isJointSale)), DataCenter::JointSaleCompanyId,
            DataCenter::isJointSaleManger};
}

// Runs the code's handler on a fresh download object; true when it reported success.
bool store(const Code &code, bool isJointSale, const QJsonValue &reply)
{
    bool stored = false;
    {
        BaseSqlObject download(nullptr, isJointSale);
        QObject::connect(&download, &BaseSqlObject::loadDataSuccess, [&stored, &code](int type) {
            if (type == code.type)
                stored = true;
        });
        (download.*code.handler)(reply);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return stored;
}

void checkIntegrity(bool isJointSale, const QString &detail)
{
    FUZZ_CHECK(FuzzSupport::integrity(FuzzSupport::personalConnection(isJointSale)) == QLatin1String("ok"), detail);
    FUZZ_CHECK(FuzzSupport::integrity(FuzzSupport::companyConnection(isJointSale)) == QLatin1String("ok"), detail);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::Input input;
    if (!FuzzSupport::split(data, size, &input))
        return 0;
    const Code &code = kCodes[(input.selector & 0x7f) % kCodeCount];
    const bool isJointSale = input.selector & 0x80;
    const QByteArray &bytes = input.payload;
    const QJsonValue reply = FuzzSupport::jsonOf(bytes);
    const QString detail = QStringLiteral("code %1: %2").arg(code.type).arg(QString::fromUtf8(bytes.left(400)));

    const State before = stateOf(isJointSale);
    const bool stored = store(code, isJointSale, reply);
    checkIntegrity(isJointSale, detail);
    const State once = stateOf(isJointSale);
    if (!stored)
        FUZZ_CHECK(once == before, detail);
    store(code, isJointSale, reply);
    FUZZ_CHECK(stateOf(isJointSale) == once, detail);

    // The alliance company names the joint-sale book's file: the next input finds it where it was.
    DataCenter::JointSaleCompanyId = 9001;
    DataCenter::isJointSaleManger = false;
    return 0;
}
