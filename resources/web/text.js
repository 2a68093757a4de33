// Text tool (key 1): a click places a label and starts editing it in place; repeating the key
// cycles the size. Labels are plain text in the system font with a white outline, readable on
// light and dark pictures alike. Text only ever enters the document as text content.
(function () {
  "use strict";
  // Font sizes in screen pixels when the label is made; stored in image pixels.
  var SIZES = { medium: 24, large: 36, small: 16 };

  window.ANNOTATION_TOOLS = window.ANNOTATION_TOOLS || [];
  window.ANNOTATION_TOOLS.push({
    kind: "text",
    mode: "add-text",
    flag: "addTextActivated",
    key: "1",
    label: "Text",
    layer: "texts",
    geometry: "text",
    styles: ["medium", "large", "small"],
    numbers: ["x", "y", "size"],
    strings: ["text"],

    applyStyle: function (item, kit) {
      item.size = SIZES[item.style] * kit.unit;
    },

    create: function () {
      var element = document.createElement("div");
      element.className = "text-annotation";
      element.spellcheck = false;
      return element;
    },

    update: function (element, item) {
      element.style.left = item.x + "px";
      element.style.top = item.y + "px";
      element.style.fontSize = item.size + "px";
      if (!element.classList.contains("editing") && element.textContent !== item.text) {
        element.textContent = item.text;
      }
    }
  });
})();
