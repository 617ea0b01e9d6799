// tolm-demo-register: puts two sample aircraft into an empty register, so that the demo's first
// download can start at once against the simulated unit, which serves both engines of any
// aircraft. A register that already holds an aircraft is left as it is.
// It writes into the settings store that HOME and XDG_CONFIG_HOME point at: the run command
// points them at the demo's own.
#include <QCoreApplication>
#include <cstdio>

#include "core/Config.h"
#include "register/TolmAircraftSettings.h"

namespace {

struct SampleEngine {
    const char* type;
    const char* ser;
    const char* installed;
};
struct SampleAircraft {
    const char* identifier;
    const char* shopId;
    SampleEngine engines[2];
    const char* comments;
};

const SampleAircraft kSamples[] = {
    {"HB-JVA",
     "ZRH-1",
     {{"CFM56-7", "889123", "12.01.2007"}, {"CFM56-7", "889124", "12.01.2007"}},
     "Demo aircraft: the simulated unit serves both engines."},
    {"HB-JVB",
     "ZRH-1",
     {{"CFM56-3", "779001", "03.05.2005"}, {"CFM56-3", "779002", "03.05.2005"}},
     "Demo aircraft: the simulated unit serves both engines."},
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    tolm::setSettingsIdentity();
    tolm::TolmAircraftSettings settings;
    if (settings.countAircraft() > 0) {
        std::printf("tolm-demo-register: the register already holds aircraft; nothing added\n");
        return 0;
    }
    for (const SampleAircraft& sample : kSamples) {
        tolm::AircraftRecord record;
        record.setIdentifier(QString::fromLatin1(sample.identifier));
        record.setShopId(QString::fromLatin1(sample.shopId));
        record.setComments(QString::fromLatin1(sample.comments));
        for (int i = 0; i < 2; ++i) {
            tolm::EngineRecord engine;
            engine.setType(QString::fromLatin1(sample.engines[i].type));
            engine.setSer(QString::fromLatin1(sample.engines[i].ser));
            engine.setInstallDate(QString::fromLatin1(sample.engines[i].installed));
            record.setEngine(i, engine);
        }
        // A new identifier gets "download bearing data" for both engines; nothing is erased.
        settings.storeAircraft(record.identifier(), record);
    }
    settings.setLastAircraft(QString::fromLatin1(kSamples[0].identifier));
    std::printf("tolm-demo-register: added the sample aircraft HB-JVA and HB-JVB\n");
    return 0;
}
