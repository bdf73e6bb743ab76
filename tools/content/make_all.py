"""Writes every file of resources/content/ afresh: run with /usr/bin/python3 (PIL)."""

import make_dictionaries
import make_pictures
import make_templates
import make_texts

for module in (make_dictionaries, make_texts, make_pictures, make_templates):
    module.main()
