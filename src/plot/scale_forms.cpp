#include "plot/scale_forms.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>

#include <limits>

namespace quarvel {
namespace {
QSpinBox* wholeNumberField(QWidget* parent, const char* name, int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    box->setValue(value);
    return box;
}
} // namespace

TVelScaleForm::TVelScaleForm(Services& services) : services_(services) {
    setObjectName("VelScaleForm");
    setWindowTitle("P-wave");
    Autovel = new QCheckBox("Auto Scale", this);
    Autovel->setObjectName("Autovel");
    Autovel->setChecked(true);
    MinVel = wholeNumberField(this, "MinVel", 1400);
    Maxvel = wholeNumberField(this, "Maxvel", 1600);
    BitBtn1 = new QPushButton("OK", this);
    BitBtn2 = new QPushButton("Cancel", this);
}

TDensityScaleForm::TDensityScaleForm(Services& services) : services_(services) {
    setObjectName("DensityScaleForm");
    setWindowTitle("Density");
    autodens = new QCheckBox("Auto Scale", this);
    autodens->setObjectName("autodens");
    autodens->setChecked(true);
    MinDens = wholeNumberField(this, "MinDens", 1400);
    MaxDens = wholeNumberField(this, "MaxDens", 2300);
    BitBtn1 = new QPushButton("OK", this);
    BitBtn2 = new QPushButton("Cancel", this);
}

} // namespace quarvel
