// The green textured bars that the three strips show from creation on,
// shipped inside the library as JPEG resources.
#pragma once

#include <Pannello/Pannello.h>

namespace Pannello2 {

enum class Strip { Titolo, Testo, Info };

// The same object on every call for one strip.
PictureRef BuiltinPicture(Strip strip);

}  // namespace Pannello2
