#pragma once
// The built-in drawings of the controller's wiring terminals, shown on the
// inputs and outputs pages until a picture file replaces them.
#include <QPicture>

QPicture InputWiringPicture();
QPicture OutputWiringPicture();
