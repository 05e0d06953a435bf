// Added by scenarioc watch: reloads the page once watch has written a newer one.
(function () {
  const generation = PAGE_GENERATION;
  const file = encodeURIComponent(GENERATION_FILE_NAME);
  window.scenariocWatch = (latest) => { if (latest !== generation) location.reload(); };
  setInterval(() => {
    const probe = document.createElement('script');
    probe.src = file + '?' + Date.now();
    probe.onload = probe.onerror = () => probe.remove();
    document.head.appendChild(probe);
  }, 1000);
})();
