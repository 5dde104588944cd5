# The program's embedded files besides the forms (which come from resources/forms/*.form).
# One line per resource: TYPE NAME PATH, TYPE being RCDATA, BITMAP or ICON (a whole .ico file),
# for example:
#   list(APPEND ZORVANE_RESOURCE_FILES ICON MAINICON ${PROJECT_SOURCE_DIR}/resources/images/zorvane.ico)
#   list(APPEND ZORVANE_RESOURCE_FILES BITMAP BBOK ${PROJECT_SOURCE_DIR}/resources/images/bbok.bmp)

# The icon and the button-kind glyphs, drawn by tools/imagegen. BITMAP resources hold whole BMP
# files (file header included): load them with TBitmap::LoadFromStream over a TResourceStream.
list(APPEND ZORVANE_RESOURCE_FILES ICON MAINICON ${PROJECT_SOURCE_DIR}/resources/images/zorvane.ico)
foreach(kind OK CANCEL HELP YES NO CLOSE ABORT RETRY IGNORE ALL)
  list(APPEND ZORVANE_RESOURCE_FILES BITMAP BB${kind} ${PROJECT_SOURCE_DIR}/resources/images/BB${kind}.bmp)
endforeach()
