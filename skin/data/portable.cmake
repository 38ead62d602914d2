# The skin engine's standard-library-only sources: the LZH codec, the skin
# container reader and writer, the quick ini reader, BMP files and colour text.
# Host tools and the fuzzing build compile them natively; the cross build gets
# them through the skin_data library like every other file of skin/data.
set(SKIN_PORTABLE_SOURCES
    ${RAVELBOOK_ROOT}/skin/data/lzh_codec.cpp
    ${RAVELBOOK_ROOT}/skin/data/skin_reader.cpp
    ${RAVELBOOK_ROOT}/skin/data/quick_ini.cpp
    ${RAVELBOOK_ROOT}/skin/data/bmp_file.cpp
    ${RAVELBOOK_ROOT}/skin/data/colour_text.cpp
)
list(APPEND SKIN_PORTABLE_SOURCES ${RAVELBOOK_ROOT}/skin/data/skin_objects.cpp)
list(APPEND SKIN_PORTABLE_SOURCES ${RAVELBOOK_ROOT}/skin/data/skin_model_core.cpp)
list(APPEND SKIN_PORTABLE_SOURCES ${RAVELBOOK_ROOT}/skin/data/skin_scale.cpp)
