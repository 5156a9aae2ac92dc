"""What the result files must hold for a good page of the fault server: the
page is small and fixed in form, so its lines are written out here by hand
rather than by running a parser."""

import fault_server

NAME_CHANGES = (("Inter Milan", "Inter"), ("AC Milan", "Milan"), ("AS Roma", "Roma"),
                ("L'Aquila", "L\u00b4Aquila"))


def _name(text):
    for old, new in NAME_CHANGES:
        text = text.replace(old, new)
    return text


def _match_line(status, home, score, away):
    if ":" in status:
        # A kick-off time opens the line and is dropped.
        line = "%s <%s> %s " % (_name(home), score.replace(" - ", "-"), _name(away))
    elif status.endswith("'"):
        # The apostrophe and the space after it become one double quote.
        line = '%s"%s <%s> %s ' % (status[:-1], _name(home), score.replace(" - ", "-"), _name(away))
    else:
        line = "%s %s <%s> %s " % (status, _name(home), score.replace(" - ", "-"), _name(away))
    return line.upper()


def blocks(serial):
    """[(header line, [match lines])] of the page with this serial, as in the combined file."""
    return [("<%s> " % title.replace(" - ", "-").upper(), [_match_line(*m) for m in matches])
            for title, matches in fault_server.competitions(serial)]


def fragments(selection):
    pieces = selection.split(";")[:-1]
    return [p.replace(" ", "").upper() for p in pieces]


def slot_file(serial, selection):
    """The exact text of a slot file for this page and selection string."""
    keep = fragments(selection)
    out = []
    for header, lines in blocks(serial):
        squeezed = header.replace(" ", "").upper()
        if any(f in squeezed for f in keep):
            out.append(header)
            out.extend(lines)
    return "".join(line + "\r\n" for line in out) + "\r\n"


def slot_files(serial, variant):
    selections = fault_server.SELECTIONS[variant % len(fault_server.SELECTIONS)]
    keys = ["01", "02", "03", "04", "05", "06", "07", "08", "22", "23", "24"]
    return {slot: slot_file(serial, selections[key]) for slot, key in enumerate(keys, start=1)}


def selections(variant):
    chosen = fault_server.SELECTIONS[variant % len(fault_server.SELECTIONS)]
    return [chosen[key] for key in ("01", "02", "03", "04", "05", "06", "07", "08", "22", "23", "24")]
