#include "baroeditor.h"

#include <algorithm>

#include "averdata.h"
#include "chandesc.h"
#include "configmanager.h"
#include "editors.h"
#include "limiteditors.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "settingvars.h"
#include "shellstate.h"
#include "units.h"

int32_t BaroChange = 0;

namespace {

constexpr int64_t TenthsPerPa = 10;
constexpr int64_t TenthsPerHpa = 100 * TenthsPerPa;
constexpr int64_t StandardTenths = int64_t(StandardQnh) * TenthsPerPa;

// Knob steps by baro unit, in tenths of a Pa, so that torr keeps its 13.8 Pa.
struct TBaroSteps {
    int32_t slowTenths, fastTenths;
};
constexpr TBaroSteps InHgSteps{340, 2720};   // about 0.01 and 0.08 inHg
constexpr TBaroSteps MbarSteps{1000, 8000};  // 1 and 8 hPa
constexpr TBaroSteps TorrSteps{138, 1040};   // about 0.1 and 0.8 torr

// The averaged absolute pressure counts 2 Pa; QFE lies 5 Pa above the doubled reading.
constexpr int64_t BaroAbsPaPerCount = 2;
constexpr int64_t QfeAddPa = 5;

int32_t BaroChangeTenths = 0;
int BaroEditing = 0;
int32_t BaroBase = 0;  // QNH before the first turn

// The pages show QNH + change while the knob turns; the base stays for cancelling.
void BaroShowEdited() {
    QnhSetting.qnh = std::clamp<int32_t>(SatInt32(int64_t(BaroBase) + BaroChange), QnhMinPa, QnhMaxPa);
    SetSS(SsQnh, 0);
}

void BaroEnd() {
    BaroChange = BaroChangeTenths = 0;
    BaroEditing = 0;
    BaroEditActive = 0;
    ReleaseEditorKeys();
}

// The change goes into QNH once, and the runtime file keeps it.
void BaroFinish() {
    SetSS(SsQnh, 0);
    SaveRuntime();
    BaroEnd();
}

}  // namespace

int32_t BaroStep(int32_t qnh, int32_t changeTenths, int up, int fast, int baroUnit, int* stopped) {
    if (stopped) *stopped = 0;
    const TBaroSteps& steps = baroUnit == UnitMbar ? MbarSteps : baroUnit == UnitTorr ? TorrSteps : InHgSteps;
    const int32_t stepTenths = fast ? steps.fastTenths : steps.slowTenths;
    const int64_t before = int64_t(qnh) * TenthsPerPa + changeTenths;
    int64_t from = before;
    // mBar steps from the standard setting land on whole hectopascals.
    if (baroUnit == UnitMbar && before == StandardTenths) {
        const int64_t hpaBelow = StandardTenths / TenthsPerHpa * TenthsPerHpa;
        from = up ? hpaBelow : hpaBelow + TenthsPerHpa;
    }
    int64_t after = from + (up ? stepTenths : -stepTenths);
    if ((before < StandardTenths && after > StandardTenths) || (before > StandardTenths && after < StandardTenths)) {
        after = StandardTenths;
        if (stopped) *stopped = 1;
    }
    after = std::clamp<int64_t>(after, QnhMinPa * TenthsPerPa, QnhMaxPa * TenthsPerPa);
    return SatInt32(after - int64_t(qnh) * TenthsPerPa);
}

void BaroSettingEditor(int32_t command) {
    ArmBaroDeadline();
    switch (command) {
        case BaroDown:
        case BaroUp: {
            const int up = command == BaroUp;
            if (!BaroEditing) {
                BaroEditing = 1;
                BaroBase = QnhSetting.qnh;
                BaroChange = BaroChangeTenths = 0;
            }
            int stopped = 0;
            BaroChangeTenths = BaroStep(BaroBase, BaroChangeTenths, up, KnobAcceleration(up), UnitsSetting.baro,
                                        &stopped);
            if (stopped) KnobAccelerationReset();
            BaroChange = static_cast<int32_t>(BaroChangeTenths / TenthsPerPa);
            BaroShowEdited();
            return;
        }
        case BaroQfe: {
            int32_t abs = 0;
            if (!AverReader || AverReader->GetValue(echPressBaroAbsAver, abs) != 0) return;
            const int64_t pa = int64_t(abs) * BaroAbsPaPerCount;
            if (pa < QnhMinPa || pa > QnhMaxPa) return;
            QnhSetting.qnh = SatInt32(pa + QfeAddPa);
            BaroFinish();
            return;
        }
        case BaroStandard:
            QnhSetting.qnh = StandardQnh;
            BaroFinish();
            return;
        case BaroSet: BaroFinish(); return;
        case BaroCancel:
            if (BaroEditing) QnhSetting.qnh = BaroBase;
            SetSS(SsQnh, 0);
            BaroEnd();
            return;
        default: return;
    }
}
