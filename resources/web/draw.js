// The annotation layer: tool modes, drawing, selection, moving, resizing, deleting, undo and
// redo, and the functions the application calls. The tools (text.js, arrow.js, redact.js,
// shape.js) describe their annotations in window.ANNOTATION_TOOLS; this file does the rest.
//
// Annotations are kept in image pixels, in a plane laid over the picture with the picture's own
// position, scale and tilt, so they stay on the same pixels whatever the padding, ratio or zoom,
// and they survive a reload when the application hands them back (RESTORE_ANNOTATIONS).
//
// A tool entry: kind (stored in the items), mode (reported as CHANGE_MODE), flag
// (ACTIVATE_COMMAND), key, label, layer ("redactions", "shapes" or "texts"), geometry ("box",
// "line" or "text"), styles (the repeat cycles them), numbers and strings (the item's fields),
// create(kit) and update(element, item, kit); optionally applyStyle(item, kit) and
// click(clientX, clientY, kit) for a press without a drag.
(function () {
  "use strict";
  var SVG_NS = "http://www.w3.org/2000/svg";
  var COLOUR = "#ff3b30";
  var HANDLE_SIZE = 10; // screen pixels
  var DRAG_THRESHOLD = 4; // screen pixels before a press becomes a drag
  var MAX_ITEMS = 1000;
  var MAX_TEXT = 10000;
  var MAX_COORDINATE = 1e6;
  var MAX_HISTORY = 200;

  var tools = window.ANNOTATION_TOOLS || [];
  var toolOfKind = {};
  tools.forEach(function (tool) { toolOfKind[tool.kind] = tool; });
  var toolModes = tools.map(function (tool) { return tool.mode; });

  var canvas = document.getElementById("draw-canvas");
  if (!canvas) { return; }

  var mode = "free";
  var styleIndex = {};
  var items = [];
  var nextId = 1;
  var selectedId = null;
  var editingId = null;
  var editingBefore = null;
  var undoStack = [];
  var redoStack = [];
  var gesture = null;
  var elements = new Map();
  // Image pixels to viewport: the picture's layout box, scale and tilt.
  var view = { matrix: new DOMMatrix(), scale: 1, width: 0, height: 0 };

  // ---- The layers -------------------------------------------------------------------------

  function svg(tag, attributes) {
    var element = document.createElementNS(SVG_NS, tag);
    set(element, attributes || {});
    return element;
  }

  function set(element, attributes) {
    Object.keys(attributes).forEach(function (name) {
      element.setAttribute(name, attributes[name]);
    });
  }

  function div(className) {
    var element = document.createElement("div");
    element.className = className;
    return element;
  }

  var plane = div("annotation-plane");
  // Inside a "rects" block, so the document's redaction colour applies to the boxes.
  var redactionBlock = div("rects annotation-redactions");
  var layers = {
    redactions: redactionBlock.appendChild(svg("svg")),
    shapes: svg("svg", { "class": "annotation-shapes" }),
    texts: div("annotation-texts")
  };
  var decorations = svg("svg", { "class": "editing-decoration annotation-decorations" });
  var hint = div("annotation-hint editing-decoration");
  plane.appendChild(redactionBlock);
  plane.appendChild(layers.shapes);
  plane.appendChild(layers.texts);
  plane.appendChild(decorations);
  canvas.appendChild(plane);
  canvas.appendChild(hint);

  function kit() {
    return { svg: svg, set: set, colour: COLOUR, unit: 1 / view.scale,
             imageWidth: view.width, imageHeight: view.height };
  }

  // ---- Picture geometry --------------------------------------------------------------------

  function pictureElements() {
    var img = document.querySelector("#target .image img");
    return img ? { img: img, frame: img.closest(".image") || img } : null;
  }

  // Lays the plane over the picture: its untransformed box, then the frame's own transform
  // (the tilt) about the frame's centre, as the document draws the picture.
  function layout() {
    var picture = pictureElements();
    if (!picture || !picture.img.naturalWidth || !picture.img.naturalHeight) {
      plane.style.display = "none";
      return;
    }
    var frame = picture.frame;
    var saved = frame.style.transform;
    frame.style.transform = "none";
    var box = picture.img.getBoundingClientRect();
    var frameBox = frame.getBoundingClientRect();
    frame.style.transform = saved;
    var tiltText = getComputedStyle(frame).transform;
    var tilt = tiltText && tiltText !== "none" ? new DOMMatrix(tiltText) : new DOMMatrix();
    var cx = frameBox.left + frameBox.width / 2;
    var cy = frameBox.top + frameBox.height / 2;
    view.width = picture.img.naturalWidth;
    view.height = picture.img.naturalHeight;
    view.scale = box.width / view.width || 1;
    view.matrix = new DOMMatrix().translate(cx, cy).multiply(tilt).translate(-cx, -cy)
      .translate(box.left, box.top).scale(box.width / view.width, box.height / view.height);
    plane.style.display = "";
    plane.style.width = view.width + "px";
    plane.style.height = view.height + "px";
    plane.style.transform = view.matrix.toString();
  }

  // Viewport point to image pixels: the inverse of the plane's projection of z = 0.
  function toImage(clientX, clientY) {
    var m = view.matrix;
    var a = m.m11 - clientX * m.m14;
    var b = m.m21 - clientX * m.m24;
    var c = m.m12 - clientY * m.m14;
    var d = m.m22 - clientY * m.m24;
    var e = clientX * m.m44 - m.m41;
    var f = clientY * m.m44 - m.m42;
    var determinant = a * d - b * c;
    if (!determinant) { return { x: 0, y: 0 }; }
    return { x: (e * d - b * f) / determinant, y: (a * f - e * c) / determinant };
  }

  // ---- Items -------------------------------------------------------------------------------

  function finiteNumber(value) {
    return typeof value === "number" && isFinite(value) && Math.abs(value) <= MAX_COORDINATE;
  }

  // An item of a known kind with every field present and sane, or null.
  function sanitize(raw) {
    if (!raw || typeof raw !== "object") { return null; }
    var tool = toolOfKind[raw.kind];
    if (!tool) { return null; }
    var item = { kind: tool.kind,
                 style: tool.styles.indexOf(raw.style) >= 0 ? raw.style : tool.styles[0] };
    var valid = tool.numbers.every(function (name) {
      item[name] = raw[name];
      return finiteNumber(raw[name]);
    });
    valid = valid && (tool.strings || []).every(function (name) {
      item[name] = raw[name];
      return typeof raw[name] === "string" && raw[name].length <= MAX_TEXT;
    });
    if (!valid || (item.size !== undefined && !(item.size > 0)) ||
        (item.text !== undefined && !item.text.trim()) ||
        (item.width !== undefined && !(item.width > 0)) ||
        (tool.geometry === "box" && !(item.w >= 0 && item.h >= 0))) {
      return null;
    }
    return item;
  }

  function serialize() {
    return JSON.stringify(items);
  }

  function itemById(id) {
    for (var i = 0; i < items.length; i++) {
      if (items[i].id === id) { return items[i]; }
    }
    return null;
  }

  function moveItem(item, dx, dy) {
    ["x", "x1", "x2"].forEach(function (name) { if (name in item) { item[name] += dx; } });
    ["y", "y1", "y2"].forEach(function (name) { if (name in item) { item[name] += dy; } });
  }

  // Image-pixel box of an item, for its outline and handles.
  function bounds(item) {
    var tool = toolOfKind[item.kind];
    if (tool.geometry === "line") {
      return { x: Math.min(item.x1, item.x2), y: Math.min(item.y1, item.y2),
               w: Math.abs(item.x2 - item.x1), h: Math.abs(item.y2 - item.y1) };
    }
    if (tool.geometry === "text") {
      var element = elements.get(item.id);
      return { x: item.x, y: item.y, w: element ? element.offsetWidth : 0,
               h: element ? element.offsetHeight : 0 };
    }
    return { x: item.x, y: item.y, w: item.w, h: item.h };
  }

  function handlesOf(item) {
    var geometry = toolOfKind[item.kind].geometry;
    if (geometry === "line") {
      return [["start", item.x1, item.y1], ["end", item.x2, item.y2]];
    }
    var box = bounds(item);
    if (geometry === "text") {
      return [["se", box.x + box.w, box.y + box.h]];
    }
    return [["nw", box.x, box.y], ["ne", box.x + box.w, box.y],
            ["sw", box.x, box.y + box.h], ["se", box.x + box.w, box.y + box.h]];
  }

  // `drag` holds the item as it was when the drag began; `point` is in image pixels.
  function dragHandle(item, drag, point) {
    var geometry = toolOfKind[item.kind].geometry;
    var original = drag.original;
    var handle = drag.handle;
    if (geometry === "line") {
      item[handle === "start" ? "x1" : "x2"] = point.x;
      item[handle === "start" ? "y1" : "y2"] = point.y;
    } else if (geometry === "text") {
      var width = drag.originalWidth || 1;
      var factor = Math.max((point.x - original.x) / width, 0.1);
      item.size = Math.max(original.size * factor, 4 * kit().unit);
    } else {
      // The opposite corner stays; the box may flip over it.
      var fixedX = handle.indexOf("w") >= 0 ? original.x + original.w : original.x;
      var fixedY = handle.indexOf("n") >= 0 ? original.y + original.h : original.y;
      setBox(item, fixedX, fixedY, point.x, point.y);
    }
  }

  function setBox(item, x1, y1, x2, y2) {
    item.x = Math.min(x1, x2);
    item.y = Math.min(y1, y2);
    item.w = Math.abs(x2 - x1);
    item.h = Math.abs(y2 - y1);
  }

  // ---- Drawing -----------------------------------------------------------------------------

  function render() {
    var ordered = { redactions: [], shapes: [], texts: [] };
    var alive = new Set();
    var helpers = kit();
    items.forEach(function (item) {
      var tool = toolOfKind[item.kind];
      var element = elements.get(item.id);
      if (!element || element.getAttribute("data-kind") !== item.kind) {
        if (element) { element.remove(); }
        element = tool.create(helpers);
        element.setAttribute("data-kind", item.kind);
        element.setAttribute("data-annotation-id", String(item.id));
        elements.set(item.id, element);
      }
      tool.update(element, item, helpers);
      // Annotations take the double-click and the pointer away from the document.
      element.classList.add("annotation-item", "draggable");
      element.querySelectorAll("*").forEach(function (child) {
        child.classList.add("draggable");
      });
      ordered[tool.layer].push(element);
      alive.add(item.id);
    });
    elements.forEach(function (element, id) {
      if (!alive.has(id)) {
        element.remove();
        elements.delete(id);
      }
    });
    Object.keys(ordered).forEach(function (name) {
      var layer = layers[name];
      ordered[name].forEach(function (element, index) {
        // Moving a node blurs it; only reorder what is out of place.
        if (layer.children[index] !== element) {
          layer.insertBefore(element, layer.children[index] || null);
        }
      });
    });
    renderSelection();
  }

  function renderSelection() {
    decorations.textContent = "";
    var item = selectedId !== null ? itemById(selectedId) : null;
    if (!item) { return; }
    var unit = kit().unit;
    var box = bounds(item);
    var pad = 3 * unit;
    if (toolOfKind[item.kind].geometry !== "line") {
      decorations.appendChild(svg("rect", { "class": "selection-outline", x: box.x - pad,
                                            y: box.y - pad, width: box.w + 2 * pad,
                                            height: box.h + 2 * pad }));
    }
    var size = HANDLE_SIZE * unit;
    handlesOf(item).forEach(function (handle) {
      decorations.appendChild(svg("rect", { "class": "annotation-handle",
                                            "data-handle": handle[0],
                                            x: handle[1] - size / 2, y: handle[2] - size / 2,
                                            width: size, height: size, rx: size / 5 }));
    });
  }

  var hintTimer = null;
  function showHint(text) {
    hint.textContent = text;
    hint.classList.add("shown");
    clearTimeout(hintTimer);
    hintTimer = setTimeout(function () { hint.classList.remove("shown"); }, 1600);
  }

  // ---- History -----------------------------------------------------------------------------

  // Records the state `before` a change, when the change did anything.
  function record(before) {
    if (before === serialize()) { return; }
    undoStack.push(before);
    if (undoStack.length > MAX_HISTORY) { undoStack.shift(); }
    redoStack = [];
  }

  function restore(from, to) {
    finishEditing();
    if (!from.length || gesture) { return; }
    to.push(serialize());
    items = JSON.parse(from.pop());
    if (selectedId !== null && !itemById(selectedId)) { selectedId = null; }
    render();
  }

  // ---- Modes -------------------------------------------------------------------------------

  function post(message) {
    try { window.webkit.messageHandlers.events.postMessage(message); } catch (e) {}
  }

  function setMode(next) {
    if (next === mode) { return; }
    var body = document.body;
    body.classList.remove("annotating", "redact-mode", mode + "-mode");
    mode = next;
    if (mode !== "free") {
      body.classList.add("annotating", mode === "redact" ? "redact-mode" : mode + "-mode");
    }
    post({ name: "CHANGE_MODE", payload: mode });
  }

  function currentStyle(tool) {
    return tool.styles[styleIndex[tool.kind] || 0];
  }

  function activate(tool) {
    finishEditing();
    var selected = selectedId !== null ? itemById(selectedId) : null;
    if (mode === tool.mode) {
      styleIndex[tool.kind] = ((styleIndex[tool.kind] || 0) + 1) % tool.styles.length;
      // The repeat also restyles the selected annotation of this tool.
      if (selected && selected.kind === tool.kind && selected.style !== currentStyle(tool)) {
        var before = serialize();
        selected.style = currentStyle(tool);
        if (tool.applyStyle) { tool.applyStyle(selected, kit()); }
        record(before);
        render();
      }
    } else {
      if (selected && selected.kind !== tool.kind) { select(null); }
      setMode(tool.mode);
    }
    showHint(tool.styles.length > 1 ? tool.label + ": " + currentStyle(tool) : tool.label);
  }

  function select(id) {
    if (selectedId === id) { return; }
    selectedId = id;
    renderSelection();
  }

  // ---- Text editing ------------------------------------------------------------------------

  function startEditing(id, before) {
    var element = elements.get(id);
    if (!element) { return; }
    editingId = id;
    editingBefore = before;
    select(id);
    element.classList.add("editing");
    element.contentEditable = "plaintext-only";
    element.focus();
    var range = document.createRange();
    range.selectNodeContents(element);
    range.collapse(false);
    var selection = window.getSelection();
    selection.removeAllRanges();
    selection.addRange(range);
    renderSelection();
  }

  // Takes the typed text as plain text; an empty label disappears.
  function finishEditing() {
    if (editingId === null) { return false; }
    var id = editingId;
    var before = editingBefore;
    editingId = null;
    editingBefore = null;
    var element = elements.get(id);
    var item = itemById(id);
    if (element) {
      element.contentEditable = "false";
      element.classList.remove("editing");
      if (item) { item.text = element.innerText.replace(/\n$/, "").slice(0, MAX_TEXT); }
      // Rewritten from the item: nothing but text stays in the element.
      element.textContent = item ? item.text : "";
      element.blur();
    }
    if (item && !item.text.trim()) {
      items.splice(items.indexOf(item), 1);
      if (selectedId === id) { selectedId = null; }
    }
    window.getSelection().removeAllRanges();
    record(before);
    render();
    return true;
  }

  // ---- Pointer -----------------------------------------------------------------------------

  function annotationIdOf(target) {
    var element = target && target.closest ? target.closest("[data-annotation-id]") : null;
    return element && canvas.contains(element) ? Number(element.getAttribute("data-annotation-id"))
                                               : null;
  }

  function beginGesture(event, details) {
    gesture = details;
    gesture.startX = event.clientX;
    gesture.startY = event.clientY;
    gesture.start = toImage(event.clientX, event.clientY);
    gesture.before = serialize();
    gesture.dragged = false;
    // The pointer script then leaves this press alone: no drag-out of the picture.
    window._PREVENT_DRAG_SCRIPT = true;
    event.preventDefault();
  }

  function onMouseDown(event) {
    if (event.button !== 0) { return; }
    var target = event.target;
    if (editingId !== null) {
      if (elements.get(editingId) && elements.get(editingId).contains(target)) {
        // Placing the caret or selecting text in the label is no drag-out either.
        window._PREVENT_DRAG_SCRIPT = true;
        return;
      }
      finishEditing();
    }
    layout();
    var handle = target && target.getAttribute && target.getAttribute("data-handle");
    var selected = selectedId !== null ? itemById(selectedId) : null;
    if (handle && selected) {
      beginGesture(event, { type: "handle", handle: handle, id: selected.id,
                            original: JSON.parse(JSON.stringify(selected)),
                            originalWidth: bounds(selected).w });
      return;
    }
    var id = annotationIdOf(target);
    if (id !== null) {
      select(id);
      beginGesture(event, { type: "move", id: id,
                            original: JSON.parse(JSON.stringify(itemById(id))) });
      return;
    }
    select(null);
    var tool = toolModes.indexOf(mode) >= 0 ? tools[toolModes.indexOf(mode)] : null;
    if (tool) {
      beginGesture(event, { type: "create", tool: tool });
      return;
    }
    gesture = null;
    freePress = { x: event.clientX, y: event.clientY };
  }

  // A press in free mode that may become a drag-out of the picture.
  var freePress = null;

  function onMouseMove(event) {
    if (!gesture) {
      if (freePress && (event.buttons & 1) && document.body.classList.contains("webview-mousedown") &&
          Math.hypot(event.clientX - freePress.x, event.clientY - freePress.y) > DRAG_THRESHOLD) {
        document.body.classList.add("webview-drag-start");
      }
      return;
    }
    if (!gesture.dragged &&
        Math.hypot(event.clientX - gesture.startX, event.clientY - gesture.startY) <= DRAG_THRESHOLD) {
      return;
    }
    gesture.dragged = true;
    var point = toImage(event.clientX, event.clientY);
    if (gesture.type === "create") {
      var tool = gesture.tool;
      if (tool.geometry === "text") { return; }
      if (!gesture.item) {
        gesture.item = { id: nextId++, kind: tool.kind, style: currentStyle(tool) };
        if (tool.applyStyle) { tool.applyStyle(gesture.item, kit()); }
        items.push(gesture.item);
      }
      if (tool.geometry === "line") {
        setLine(gesture.item, gesture.start, point);
      } else {
        setBox(gesture.item, gesture.start.x, gesture.start.y, point.x, point.y);
      }
    } else {
      var item = itemById(gesture.id);
      if (!item) { return; }
      if (gesture.type === "move") {
        var original = gesture.original;
        Object.keys(original).forEach(function (name) { item[name] = original[name]; });
        moveItem(item, point.x - gesture.start.x, point.y - gesture.start.y);
      } else {
        dragHandle(item, gesture, point);
      }
    }
    render();
    event.preventDefault();
  }

  function setLine(item, from, to) {
    item.x1 = from.x;
    item.y1 = from.y;
    item.x2 = to.x;
    item.y2 = to.y;
  }

  function onMouseUp(event) {
    freePress = null;
    if (event.button !== 0) { return; }
    window._PREVENT_DRAG_SCRIPT = false;
    if (!gesture) { return; }
    var done = gesture;
    gesture = null;
    if (done.type === "create") {
      finishCreate(done, event);
    } else if (done.type === "move" && !done.dragged) {
      // A double click on a label, or a click with the text tool, edits it.
      var clicked = itemById(done.id);
      if (clicked && clicked.kind === "text" && (event.detail >= 2 || mode === "add-text")) {
        startEditing(clicked.id, done.before);
        return;
      }
    }
    record(done.before);
    render();
  }

  function finishCreate(done, event) {
    var tool = done.tool;
    var unit = kit().unit;
    if (tool.geometry === "text") {
      var label = { id: nextId++, kind: tool.kind, style: currentStyle(tool),
                    x: done.start.x, y: done.start.y, text: "" };
      tool.applyStyle(label, kit());
      // The click is where the caret starts, halfway up the first line.
      label.x -= label.size * 0.15;
      label.y -= label.size * 0.6;
      items.push(label);
      render();
      startEditing(label.id, done.before);
      return;
    }
    var item = done.item;
    if (!done.dragged) {
      var snapped = tool.click ? tool.click(event.clientX, event.clientY, kit()) : null;
      if (snapped) {
        item = { id: nextId++, kind: tool.kind, style: currentStyle(tool) };
        Object.keys(snapped).forEach(function (name) { item[name] = snapped[name]; });
        items.push(item);
      }
    } else if (item) {
      var box = bounds(item);
      // Too small to be meant: a slip of the hand.
      if (Math.max(box.w, box.h) < 3 * DRAG_THRESHOLD * unit) {
        items.splice(items.indexOf(item), 1);
        item = null;
      }
    }
    if (item) { selectedId = item.id; }
    record(done.before);
    render();
  }

  // A double click in a tool or on an annotation is the annotation layer's; it never copies the
  // picture and closes the window.
  function onDoubleClick(event) {
    if (mode !== "free" || annotationIdOf(event.target) !== null) {
      event.stopPropagation();
    }
  }

  // ---- Keys --------------------------------------------------------------------------------

  function deleteSelected() {
    var item = selectedId !== null ? itemById(selectedId) : null;
    if (!item) { return false; }
    var before = serialize();
    items.splice(items.indexOf(item), 1);
    selectedId = null;
    record(before);
    render();
    return true;
  }

  function toolForKey(event) {
    for (var i = 0; i < tools.length; i++) {
      var key = tools[i].key;
      if (event.key === key || event.code === "Digit" + key || event.code === "Numpad" + key) {
        return tools[i];
      }
    }
    return null;
  }

  function onKeyDown(event) {
    if (editingId !== null) {
      if (event.key === "Escape" || (event.key === "Enter" && (event.ctrlKey || event.metaKey))) {
        finishEditing();
        event.preventDefault();
      }
      return;
    }
    var target = event.target;
    if (target && (target.isContentEditable || target.tagName === "INPUT" ||
                   target.tagName === "TEXTAREA")) {
      return;
    }
    var command = event.ctrlKey || event.metaKey;
    var handled = false;
    if (command && !event.altKey && (event.key === "z" || event.key === "Z")) {
      if (event.shiftKey) { restore(redoStack, undoStack); } else { restore(undoStack, redoStack); }
      handled = true;
    } else if (command && !event.altKey && !event.shiftKey && event.key === "y") {
      restore(redoStack, undoStack);
      handled = true;
    } else if (event.key === "Delete" || event.key === "Backspace") {
      handled = deleteSelected();
    } else if (event.key === "Escape") {
      // Not taken: the application closes the window.
      handled = window.HANDLE_CANCEL_OPERATION() === true;
    } else if (!command && !event.altKey) {
      var tool = toolForKey(event);
      if (tool) {
        activate(tool);
        handled = true;
      }
    }
    if (handled) { event.preventDefault(); }
  }

  // ---- Interface of the application ----------------------------------------------------------

  window.ACTIVATE_COMMAND = function (command) {
    if (!command || typeof command !== "object") { return; }
    for (var i = 0; i < tools.length; i++) {
      if (command[tools[i].flag] === true) {
        activate(tools[i]);
        return;
      }
    }
  };

  // True when it took the cancel: a gesture, a text edit, a tool or a selection.
  window.HANDLE_CANCEL_OPERATION = function () {
    if (gesture) {
      items = JSON.parse(gesture.before);
      gesture = null;
      window._PREVENT_DRAG_SCRIPT = false;
      render();
      return true;
    }
    if (finishEditing()) { return true; }
    if (mode !== "free") {
      select(null);
      setMode("free");
      return true;
    }
    if (selectedId !== null) {
      select(null);
      return true;
    }
    return false;
  };

  // Also ends what a press of ours began: the application calls it as a drag-out starts.
  var pointerReset = window.resetDragState;
  window.resetDragState = function () {
    freePress = null;
    if (typeof pointerReset === "function") {
      pointerReset();
    } else if (document.body) {
      document.body.classList.remove("webview-mousedown", "webview-drag-start");
    }
  };

  // The annotations as JSON in image pixels, for the application to carry across a reload,
  // with the tool in use and the styles picked, so drawing goes on where it was.
  window.ANNOTATIONS_JSON = function () {
    finishEditing();
    var styles = {};
    tools.forEach(function (tool) { styles[tool.kind] = currentStyle(tool); });
    return JSON.stringify({
      version: 1,
      image: { width: view.width, height: view.height },
      mode: mode,
      styles: styles,
      items: items.map(function (item) {
        var copy = Object.assign({}, item);
        delete copy.id;
        return copy;
      })
    });
  };

  // Replaces the annotations with those of ANNOTATIONS_JSON. Entries that do not make sense are
  // skipped; returns the number taken, or -1 when the text is not such a list.
  window.RESTORE_ANNOTATIONS = function (json) {
    var parsed;
    try { parsed = JSON.parse(json); } catch (e) { parsed = null; }
    if (!parsed || !Array.isArray(parsed.items)) {
      console.error("Annotations not restored: not an annotation list");
      return -1;
    }
    finishEditing();
    items = [];
    layout();
    // Image pixels of another picture (cropped, wrapped) would land on the wrong things.
    var image = parsed.image;
    var samePicture = !image || !view.width ||
      (image.width === view.width && image.height === view.height);
    if (!samePicture) {
      console.warn("Annotations dropped: they were drawn on a picture of another size");
    }
    parsed.items.slice(0, samePicture ? MAX_ITEMS : 0).forEach(function (raw) {
      var item = sanitize(raw);
      if (item) {
        item.id = nextId++;
        items.push(item);
      }
    });
    if (items.length < parsed.items.length) {
      console.warn("Annotations restored: " + items.length + " of " + parsed.items.length);
    }
    selectedId = null;
    undoStack = [];
    redoStack = [];
    var styles = parsed.styles && typeof parsed.styles === "object" ? parsed.styles : {};
    tools.forEach(function (tool) {
      var index = tool.styles.indexOf(styles[tool.kind]);
      if (index >= 0) { styleIndex[tool.kind] = index; }
    });
    if (toolModes.indexOf(parsed.mode) >= 0) { setMode(parsed.mode); }
    render();
    return items.length;
  };

  // ---- Wiring ------------------------------------------------------------------------------

  window._PREVENT_DRAG_SCRIPT = false;
  // Capture phase: decided before the pointer script (a window listener) sees the press.
  window.addEventListener("mousedown", onMouseDown, true);
  window.addEventListener("mousemove", onMouseMove, true);
  window.addEventListener("mouseup", onMouseUp, true);
  window.addEventListener("dblclick", onDoubleClick, true);
  document.addEventListener("keydown", onKeyDown);
  canvas.addEventListener("focusout", function (event) {
    var element = editingId !== null ? elements.get(editingId) : null;
    if (element && event.target === element) { finishEditing(); }
  });

  // The picture moves with every restyle (padding, ratio, tilt), resize and snapshot.
  function relayout() {
    layout();
    renderSelection();
  }
  window.addEventListener("resize", relayout);
  window.addEventListener("load", relayout);
  var observer = new MutationObserver(relayout);
  var style = document.getElementById("injected-style");
  if (style) { observer.observe(style, { childList: true, characterData: true, subtree: true }); }
  var watermark = document.getElementById("watermark");
  if (watermark) { observer.observe(watermark, { childList: true, characterData: true, subtree: true }); }
  var picture = pictureElements();
  if (picture) {
    picture.img.addEventListener("load", relayout);
    new ResizeObserver(relayout).observe(picture.img);
  }
  layout();
})();
