// Serialises the loaded document in the classic form the live-score parser was
// built on: CR LF line ends, a line break before every block element (table
// rows and cells included) whatever the source's layout, whitespace that does
// not render dropped or collapsed, attribute values unquoted where no quotes
// are needed, and text in Windows-1252 (one character per byte; characters
// outside it become "?", as in the program's own conversion). Evaluated with
// the flag `wholeDocument` bound: false = the body's inner markup, true = the
// document element's outer markup.
// The result is null when the document has no such element, and false when
// the document is the engine's own error page rather than a site's.
(function (wholeDocument) {
    'use strict';
    const CRLF = '\r\n';
    const VOID = new Set(['area', 'base', 'basefont', 'bgsound', 'br', 'col', 'embed', 'frame', 'hr',
        'img', 'input', 'keygen', 'link', 'meta', 'param', 'source', 'track', 'wbr']);
    const BLOCK = new Set(['address', 'article', 'aside', 'blockquote', 'body', 'caption', 'center',
        'col', 'colgroup', 'dd', 'details', 'dialog', 'dir', 'div', 'dl', 'dt', 'fieldset', 'figcaption',
        'figure', 'footer', 'form', 'frame', 'frameset', 'h1', 'h2', 'h3', 'h4', 'h5', 'h6', 'head',
        'header', 'hgroup', 'hr', 'html', 'legend', 'li', 'link', 'main', 'menu', 'meta', 'nav',
        'noscript', 'ol', 'optgroup', 'option', 'p', 'pre', 'script', 'section', 'select', 'style',
        'summary', 'table', 'tbody', 'td', 'textarea', 'tfoot', 'th', 'thead', 'title', 'tr', 'ul']);
    const RAW_TEXT = new Set(['script', 'style', 'xmp', 'iframe', 'noembed', 'noframes', 'plaintext',
        'noscript']);
    const KEEP_WHITESPACE = new Set(['pre', 'textarea', 'listing', 'plaintext', 'xmp']);
    // Windows-1252 bytes 0x80..0x9F by their Unicode characters. The undefined
    // bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand for the control characters of
    // the same number, which the browser reads them as, and pass unchanged.
    const CP1252_HIGH = new Map([['\u20AC', 0x80], ['\u201A', 0x82], ['\u0192', 0x83], ['\u201E', 0x84],
        ['\u2026', 0x85], ['\u2020', 0x86], ['\u2021', 0x87], ['\u02C6', 0x88], ['\u2030', 0x89],
        ['\u0160', 0x8A], ['\u2039', 0x8B], ['\u0152', 0x8C], ['\u017D', 0x8E], ['\u2018', 0x91],
        ['\u2019', 0x92], ['\u201C', 0x93], ['\u201D', 0x94], ['\u2022', 0x95], ['\u2013', 0x96],
        ['\u2014', 0x97], ['\u02DC', 0x98], ['\u2122', 0x99], ['\u0161', 0x9A], ['\u203A', 0x9B],
        ['\u0153', 0x9C], ['\u017E', 0x9E], ['\u0178', 0x9F]]);

    const isElement = (node) => node !== null && node.nodeType === Node.ELEMENT_NODE;
    const isBlock = (node) => isElement(node) && BLOCK.has(node.localName);

    const OUTSIDE_1252 = /[^\x00-\x7F\x81\x8D\x8F\x90\x9D\xA0-\xFF]/gu;

    function toWindows1252(text) {
        if (text.search(OUTSIDE_1252) < 0) return text;
        return text.replace(OUTSIDE_1252,
            (ch) => (CP1252_HIGH.has(ch) ? String.fromCharCode(CP1252_HIGH.get(ch)) : '?'));
    }
    const normaliseLineEnds = (text) => text.replace(/\r\n|\r|\n/g, CRLF);
    const ESCAPES = { '&': '&amp;', '<': '&lt;', '>': '&gt;', '\u00A0': '&nbsp;', '"': '&quot;' };
    const escapeText = (text) => (/[&<>\u00A0]/.test(text) ? text.replace(/[&<>\u00A0]/g, (c) => ESCAPES[c]) : text);

    function attributeText(attribute) {
        const value = attribute.value;
        if (/^[A-Za-z0-9\-._:]+$/.test(value)) return attribute.name + '=' + value;
        return attribute.name + '="' + value.replace(/[&"<>\u00A0]/g, (c) => ESCAPES[c]) + '"';
    }

    // True when nothing that renders stands between `node` and the start (or
    // end) of the block it lies in: whitespace there does not show.
    function atBlockEdge(node, towardsStart) {
        const sibling = (n) => (towardsStart ? n.previousSibling : n.nextSibling);
        let current = node;
        while (sibling(current) === null) {
            const parent = current.parentNode;
            if (parent === null || !isElement(parent) || isBlock(parent)) return true;
            current = parent;
        }
        return isBlock(sibling(current)) || (isElement(sibling(current)) && sibling(current).localName === 'br');
    }

    // `keepWhitespace`: the text lies inside pre, textarea or the like.
    function textMarkup(node, keepWhitespace) {
        const parent = node.parentNode;
        if (isElement(parent) && RAW_TEXT.has(parent.localName)) return normaliseLineEnds(node.data);
        if (keepWhitespace) return normaliseLineEnds(escapeText(node.data));
        let text = node.data;
        if (/[\t\n\r\f]|  /.test(text)) text = text.replace(/[ \t\n\r\f]+/g, ' ');
        if (text.startsWith(' ') && atBlockEdge(node, true)) text = text.substring(1);
        if (text.endsWith(' ') && atBlockEdge(node, false)) text = text.substring(0, text.length - 1);
        return escapeText(text);
    }

    function startTag(element) {
        let tag = '<' + element.localName;
        const attributes = element.attributes;
        for (let i = 0; i < attributes.length; ++i) tag += ' ' + attributeText(attributes[i]);
        return tag + '>';
    }

    // Walks the tree without recursion, so a deeply nested page cannot
    // exhaust the stack.
    function serialise(root, includeRoot) {
        const out = [];
        const openElement = (element) => {
            if (isBlock(element) && out.length > 0) out.push(CRLF);
            out.push(startTag(element));
        };
        const firstChildOf = (node) => (node.localName === 'template' ? node.content.firstChild : node.firstChild);
        // One entry per open element: the element and whether whitespace is kept inside it.
        const open = [];
        let keepWhitespace = false;
        const enter = (element) => {
            open.push({ element: element, keepWhitespace: keepWhitespace });
            keepWhitespace = keepWhitespace || KEEP_WHITESPACE.has(element.localName);
        };
        if (includeRoot) openElement(root);
        enter(root);
        let node = firstChildOf(root);
        while (open.length > 0) {
            if (node === null) {
                const frame = open.pop();
                keepWhitespace = frame.keepWhitespace;
                if ((open.length > 0 || includeRoot) && !VOID.has(frame.element.localName)) {
                    out.push('</' + frame.element.localName + '>');
                }
                node = open.length > 0 ? frame.element.nextSibling : null;
                continue;
            }
            const type = node.nodeType;
            if (type === Node.TEXT_NODE || type === Node.CDATA_SECTION_NODE) {
                const text = textMarkup(node, keepWhitespace);
                if (text.length > 0) out.push(text);
            } else if (type === Node.COMMENT_NODE) {
                out.push('<!--' + normaliseLineEnds(node.data) + '-->');
            } else if (type === Node.ELEMENT_NODE) {
                openElement(node);
                if (!VOID.has(node.localName)) {
                    enter(node);
                    node = firstChildOf(node);
                    continue;
                }
            }
            node = node.nextSibling;
        }
        return toWindows1252(out.join(''));
    }

    if (location.protocol === 'chrome-error:') return false;
    if (wholeDocument) {
        return document.documentElement ? serialise(document.documentElement, true) : null;
    }
    return document.body ? serialise(document.body, false) : null;
})
