// Redaction tool (key 3): drag a box over anything, or click a recognised word to cover exactly
// its text rectangle. Boxes take the redaction colour of the document's style. Clicking a word
// the automatic redaction covered uncovers it, as a click on it in the document does.
(function () {
  "use strict";

  // The recognised-word rectangle under a client point, the smallest when several are.
  function wordAt(clientX, clientY) {
    var best = null;
    var bestArea = Infinity;
    var rects = document.querySelectorAll("#rects rect.text-rects");
    for (var i = 0; i < rects.length; i++) {
      var box = rects[i].getBoundingClientRect();
      if (clientX >= box.left && clientX <= box.right && clientY >= box.top &&
          clientY <= box.bottom && box.width * box.height < bestArea) {
        best = rects[i];
        bestArea = box.width * box.height;
      }
    }
    return best;
  }

  window.ANNOTATION_TOOLS = window.ANNOTATION_TOOLS || [];
  window.ANNOTATION_TOOLS.push({
    kind: "redact",
    mode: "redact",
    flag: "redactActivated",
    key: "3",
    label: "Redaction",
    layer: "redactions",
    geometry: "box",
    styles: ["box"],
    numbers: ["x", "y", "w", "h"],

    // A press without a drag.
    click: function (clientX, clientY, kit) {
      var word = wordAt(clientX, clientY);
      if (!word) { return null; }
      if (word.classList.contains("redacted")) {
        word.classList.remove("redacted");
        return null;
      }
      // Word rectangles are in the points of the rectangles' view box; items in image pixels.
      var viewBox = word.ownerSVGElement && word.ownerSVGElement.viewBox.baseVal;
      if (!viewBox || !(viewBox.width > 0) || !(viewBox.height > 0)) { return null; }
      var sx = kit.imageWidth / viewBox.width;
      var sy = kit.imageHeight / viewBox.height;
      return { x: word.x.baseVal.value * sx, y: word.y.baseVal.value * sy,
               w: word.width.baseVal.value * sx, h: word.height.baseVal.value * sy };
    },

    create: function (kit) {
      return kit.svg("rect", { "class": "redaction-box" });
    },

    update: function (rect, item, kit) {
      kit.set(rect, { x: item.x, y: item.y, width: item.w, height: item.h });
    }
  });
})();
