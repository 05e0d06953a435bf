# cmake -DSOURCE=FILE -DTARGET=FILE -P windows_text.cmake: copies a UTF-8 text
# for Windows: line ends CR LF and a byte-order mark, so that every editor down
# to the Notepad of Windows 7 shows it as written.
file(READ ${SOURCE} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom)
get_filename_component(folder ${TARGET} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
file(WRITE ${TARGET} "${bom}${text}")
