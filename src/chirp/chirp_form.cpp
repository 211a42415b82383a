#include "chirp/chirp_form.h"

#include "platform/image_panel.h"

#include <QLabel>
#include <QLineEdit>

namespace quarvel {

TChirp_Form::TChirp_Form(Services& services) : services_(services) {
    setObjectName("Chirp_Form");
    setWindowTitle("Chirp Signal Processor");
    auto field = [this](const char* name, const char* text) {
        auto* edit = new QLineEdit(QString::fromLatin1(text), this);
        edit->setObjectName(name);
        return edit;
    };
    peredit = field("peredit", "0.01");
    stfreqedit = field("stfreqedit", "2000");
    edfreqedit = field("edfreqedit", "7000");
    samedit = field("samedit", "0.00001");
    Label5 = new QLabel("default parameters", this);
    Label5->setObjectName("Label5");
    Grafico_Source0 = new ImagePanel("Grafico_Source0", 375, 161, this);
    Grafico_source1 = new ImagePanel("Grafico_source1", 375, 161, this);
}

} // namespace quarvel
