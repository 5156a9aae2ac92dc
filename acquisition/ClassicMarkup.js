// Serialises the loaded document in the classic form the live-score parser was
// built on: CR LF line ends, a line break before every block element (table
// rows and cells included) whatever the source's layout, whitespace that does
// not render dropped or collapsed, attribute values unquoted where no quotes
// are needed, and text in Windows-1252 (one character per byte; characters
// outside it become "?"). Evaluated with the flag `wholeDocument` bound:
// false = the body's inner markup, true = the document element's outer markup.
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
    // Windows-1252 bytes 0x80..0x9F by their Unicode characters.
    const CP1252_HIGH = new Map([['\u20AC', 0x80], ['\u201A', 0x82], ['\u0192', 0x83], ['\u201E', 0x84],
        ['\u2026', 0x85], ['\u2020', 0x86], ['\u2021', 0x87], ['\u02C6', 0x88], ['\u2030', 0x89],
        ['\u0160', 0x8A], ['\u2039', 0x8B], ['\u0152', 0x8C], ['\u017D', 0x8E], ['\u2018', 0x91],
        ['\u2019', 0x92], ['\u201C', 0x93], ['\u201D', 0x94], ['\u2022', 0x95], ['\u2013', 0x96],
        ['\u2014', 0x97], ['\u02DC', 0x98], ['\u2122', 0x99], ['\u0161', 0x9A], ['\u203A', 0x9B],
        ['\u0153', 0x9C], ['\u017E', 0x9E], ['\u0178', 0x9F]]);

    const isElement = (node) => node !== null && node.nodeType === Node.ELEMENT_NODE;
    const isBlock = (node) => isElement(node) && BLOCK.has(node.localName);

    function toWindows1252(text) {
        return text.replace(/[^\x00-\x7F\xA0-\xFF]/gu,
            (ch) => (CP1252_HIGH.has(ch) ? String.fromCharCode(CP1252_HIGH.get(ch)) : '?'));
    }
    const normaliseLineEnds = (text) => text.replace(/\r\n|\r|\n/g, CRLF);
    const escapeText = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;')
        .replace(/>/g, '&gt;').replace(/\u00A0/g, '&nbsp;');

    function attributeText(attribute) {
        const value = attribute.value;
        if (/^[A-Za-z0-9\-._:]+$/.test(value)) return attribute.name + '=' + value;
        return attribute.name + '="' + value.replace(/&/g, '&amp;').replace(/"/g, '&quot;')
            .replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/\u00A0/g, '&nbsp;') + '"';
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

    function insideElementIn(node, names) {
        for (let n = node.parentNode; isElement(n); n = n.parentNode) {
            if (names.has(n.localName)) return true;
        }
        return false;
    }

    function textMarkup(node) {
        const parent = node.parentNode;
        if (isElement(parent) && RAW_TEXT.has(parent.localName)) return normaliseLineEnds(node.data);
        if (insideElementIn(node, KEEP_WHITESPACE)) return normaliseLineEnds(escapeText(node.data));
        let text = node.data.replace(/[ \t\n\r\f]+/g, ' ');
        if (text.startsWith(' ') && atBlockEdge(node, true)) text = text.substring(1);
        if (text.endsWith(' ') && atBlockEdge(node, false)) text = text.substring(0, text.length - 1);
        return escapeText(text);
    }

    function startTag(element) {
        let tag = '<' + element.localName;
        for (const attribute of element.attributes) tag += ' ' + attributeText(attribute);
        return tag + '>';
    }

    // Walks the tree without recursion, so a deeply nested page cannot
    // exhaust the stack.
    function serialise(root, includeRoot) {
        const out = [];
        let length = 0;
        const emit = (text) => { out.push(text); length += text.length; };
        const openElement = (element) => {
            if (isBlock(element) && length > 0) emit(CRLF);
            emit(startTag(element));
        };
        const childrenOf = (node) => (node.localName === 'template' ? node.content.childNodes : node.childNodes);
        const stack = [];
        const push = (node) => stack.push({ node: node, children: childrenOf(node), next: 0 });
        if (includeRoot) openElement(root);
        push(root);
        while (stack.length > 0) {
            const frame = stack[stack.length - 1];
            if (frame.next === frame.children.length) {
                stack.pop();
                if (stack.length > 0 || includeRoot) {
                    if (!VOID.has(frame.node.localName)) emit('</' + frame.node.localName + '>');
                }
                continue;
            }
            const child = frame.children[frame.next++];
            if (child.nodeType === Node.TEXT_NODE || child.nodeType === Node.CDATA_SECTION_NODE) {
                emit(textMarkup(child));
            } else if (child.nodeType === Node.COMMENT_NODE) {
                emit('<!--' + normaliseLineEnds(child.data) + '-->');
            } else if (isElement(child)) {
                openElement(child);
                if (VOID.has(child.localName)) continue;
                push(child);
            }
        }
        return toWindows1252(out.join(''));
    }

    if (location.protocol === 'chrome-error:') return false;
    if (wholeDocument) {
        return document.documentElement ? serialise(document.documentElement, true) : null;
    }
    return document.body ? serialise(document.body, false) : null;
})
