"""Writes the generated files of resources/content/ afresh: run with /usr/bin/python3 (PIL).
The licence and the readme are written by hand there; the content tests hold them to their sizes."""

import make_dictionaries
import make_pictures
import make_templates

for module in (make_dictionaries, make_pictures, make_templates):
    module.main()
