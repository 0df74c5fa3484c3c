// The origin of a window's document as the engine holds it; a blank page that a frame opened has
// that frame's origin, whatever its address says. Read in the client's own world, where the page's
// script cannot change what self.origin answers.
self.origin;
