#include "tform1.h"

namespace zelkor {

// New, Load and Save through the converter are not wired up yet.
void TForm1::N2Click() {}
void TForm1::N3Click() {}
void TForm1::N6Click() {}

} // namespace zelkor
