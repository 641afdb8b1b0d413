// `orvane pict2png IN OUT [--size WxH] [--background COLOUR] [--complete]`: draws a
// picture file into a PNG image. argv[0] is "pict2png". Exit status 0 on
// success, 1 on failure, 2 on bad usage.
#pragma once

namespace orvane::app {

int pict2png_main(int argc, char** argv);

}  // namespace orvane::app
