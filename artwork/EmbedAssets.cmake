# Writes a C++ source that holds the splash picture and the window icon as the byte arrays of
# artwork/EmbeddedAssets.h. Run as: cmake -DSPLASH=<jpg> -DICON=<ico> -DOUTPUT=<cpp> -P EmbedAssets.cmake

function(byte_array file variable)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" length)
  math(EXPR size "${length} / 2")
  # Sixteen bytes a line.
  string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])"
         "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  set(${variable}_BYTES "${hex}" PARENT_SCOPE)
  set(${variable}_SIZE ${size} PARENT_SCOPE)
endfunction()

byte_array(${SPLASH} SPLASH)
byte_array(${ICON} ICON)

file(WRITE ${OUTPUT}.tmp
"// Written by artwork/EmbedAssets.cmake from ${SPLASH} and ${ICON}.
#include \"artwork/EmbeddedAssets.h\"

namespace assets {

extern const unsigned char kSplashJpeg[] = {
${SPLASH_BYTES}
};
extern const std::size_t kSplashJpegSize = ${SPLASH_SIZE};

extern const unsigned char kWindowIcon[] = {
${ICON_BYTES}
};
extern const std::size_t kWindowIconSize = ${ICON_SIZE};

}  // namespace assets
")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
