"""Validates a JSON file against a JSON schema: validate_json.py SCHEMA FILE."""
import json
import sys

import jsonschema

with open(sys.argv[1], encoding="utf-8") as schema_file, open(sys.argv[2], encoding="utf-8") as data_file:
    schema, data = json.load(schema_file), json.load(data_file)
jsonschema.validators.validator_for(schema).check_schema(schema)
jsonschema.validate(data, schema)
print("valid:", sys.argv[2])
