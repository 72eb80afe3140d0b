# Writes a C++ source that defines the char array NAME (namespace nvx4::agent) holding the text
# of INPUT, as a raw string literal. Inputs: INPUT, OUTPUT, NAME.
file(READ ${INPUT} text)
set(delimiter "nvx4text")
string(FIND "${text}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${INPUT} holds the sequence )${delimiter}\" that ends the literal")
endif()
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT}.tmp
    "// Generated from agent/${name} by agent/cmake/EmbedText.cmake; do not edit.\n"
    "namespace nvx4::agent {\n"
    "extern const char ${NAME}[];\n"
    "const char ${NAME}[] = R\"${delimiter}(${text})${delimiter}\";\n"
    "}  // namespace nvx4::agent\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
