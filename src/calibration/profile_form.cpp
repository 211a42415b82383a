#include "calibration/profile_form.h"

namespace quarvel {

TProfile_Form::TProfile_Form(Services&) {
    setObjectName("Profile_Form");
    setWindowTitle("Profile Image Parameters");
}

} // namespace quarvel
