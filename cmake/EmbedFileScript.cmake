file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" len)
math(EXPR size "${len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}" "// Generated from ${IN}.\nextern const unsigned char ${SYMBOL}[] = {\n${bytes}\n};\n"
     "extern const unsigned long long ${SYMBOL}_size = ${size};\n")
