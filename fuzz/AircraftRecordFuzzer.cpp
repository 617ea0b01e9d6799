// Aircraft and engine records of any length as the settings store hands them over, read, taken
// apart and stored again as the register and its pages do: the record is the value's first 2699
// bytes (zeros where the value is shorter), every text stops within its field, record -> bytes ->
// record is the identity, and a record stored under an identifier is found under it again.
// Input: one byte n, then n bytes of identifier (local 8-bit), then the stored value.
#include <QSettings>

#include "formats/AircraftIdentifier.h"
#include "formats/AircraftRecord.h"
#include "fuzz/FuzzSupport.h"
#include "register/TolmAircraftSettings.h"

using fuzz::check;
using tolm::AircraftRecord;
using tolm::EngineRecord;

namespace {

const QString kGroup = QStringLiteral("AircraftInfo/");

void checkText(const QByteArray& text, int width, const char* what) {
    check(text.size() <= width && !text.contains('\0'), what);
}

// Every text of the record stops within its field.
void checkFields(const AircraftRecord& record) {
    checkText(record.identifierBytes(), AircraftRecord::kIdentifierWidth, "identifier");
    checkText(record.shopIdBytes(), AircraftRecord::kShopIdWidth, "shop ID");
    checkText(record.commentsBytes(), AircraftRecord::kCommentsWidth, "comments");
    for (int i = 0; i < 2; ++i) {
        const EngineRecord engine = record.engine(i);
        const int at = i == 0 ? AircraftRecord::kEngine1Offset : AircraftRecord::kEngine2Offset;
        check(std::equal(engine.bytes().begin(), engine.bytes().end(), record.bytes().begin() + at),
              "an engine record is not its bytes of the aircraft record");
        checkText(engine.typeBytes(), EngineRecord::kTypeWidth, "engine type");
        checkText(engine.serBytes(), EngineRecord::kSerWidth, "SER");
        checkText(engine.installDateBytes(), EngineRecord::kInstallDateWidth, "install date");
        AircraftRecord same = record;
        same.setEngine(i, engine);
        check(same == record, "putting an engine record back changed the aircraft record");
    }
}

// A text put into a field is cut to the field's width less its terminator, never inside a
// character, and is the text's own beginning.
void checkSetter(const QString& text) {
    AircraftRecord record;
    record.setIdentifier(text);
    record.setComments(text);
    EngineRecord engine;
    engine.setSer(text);
    const QByteArray whole = text.toLocal8Bit();
    const std::pair<QByteArray, int> fields[] = {
        {record.identifierBytes(), AircraftRecord::kIdentifierWidth},
        {record.commentsBytes(), AircraftRecord::kCommentsWidth},
        {engine.serBytes(), EngineRecord::kSerWidth}};
    for (const auto& [stored, width] : fields) {
        check(stored.size() < width, "a text fills its field without a terminator");
        check(whole.startsWith(stored), "a stored text is not the beginning of the text given");
        if (QString::fromLocal8Bit(whole).toLocal8Bit() == whole && !whole.contains('\0')) {
            check(QString::fromLocal8Bit(stored).toLocal8Bit() == stored,
                  "a text was cut inside a character");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const QByteArray idBytes = input.field(input.byte() % 24);
    const QByteArray value = input.rest();
    const QString given = QString::fromLocal8Bit(idBytes);
    const QString key = tolm::isUsableAircraftId(given) ? given : QStringLiteral("HB-FUZ");
    {
        QSettings store;
        store.clear();
        store.setValue(kGroup + key, value);
    }

    tolm::TolmAircraftSettings settings;
    const AircraftRecord record = settings.loadAircraft(key);
    QByteArray expected = value.left(AircraftRecord::kSize);
    expected.resize(AircraftRecord::kSize, '\0');
    check(record.toByteArray() == expected, "the record is not the stored value's bytes");
    check(AircraftRecord::fromByteArray(record.toByteArray()) == record,
          "record -> bytes -> record changed the record");
    checkFields(record);
    checkSetter(given);

    // Stored again under its key, as the aircraft page saves it unchanged: the same bytes.
    AircraftRecord again = record;
    settings.storeAircraft(key, again);
    check(again == record && settings.loadAircraft(key) == record,
          "a record stored again under its key changed");
    check(settings.aircraftIdentifiers() == QStringList{key}, "the register lists other keys");

    // Stored under the identifier it holds, as the aircraft pages store an edited record: found
    // and listed under it again, or, for an identifier that cannot be a key, not stored at all.
    const QString own = record.identifier();
    AircraftRecord edited = record;
    settings.storeAircraft(own, edited);
    if (tolm::isUsableAircraftId(own)) {
        check(settings.loadAircraft(own) == edited, "a record stored under its identifier differs");
        check(settings.aircraftIdentifiers().contains(own),
              "a record stored under its identifier is not listed under it",
              QStringLiteral("identifier \"%1\"").arg(own));
    } else {
        check(QSettings().allKeys() == QStringList{kGroup + key},
              "a record was stored under an identifier that cannot be a key",
              QStringLiteral("identifier \"%1\"").arg(own));
    }
    check(tolm::loadAircraft(key.toLocal8Bit()) == settings.loadAircraft(key) ||
              QString::fromLocal8Bit(key.toLocal8Bit()) != key,
          "the free loadAircraft reads another record");
    return 0;
}
