document.addEventListener("DOMContentLoaded", () => {
    console.log("Contoso site ready");
});
