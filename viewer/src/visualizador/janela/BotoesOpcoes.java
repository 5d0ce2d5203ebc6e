package visualizador.janela;

import java.util.function.Consumer;
import javax.swing.JToggleButton;
import javax.swing.JToolBar;
import visualizador.dados.OpcoesRelatorio;

/**
 * The preview's toggles for the report's options: "Somente totais", "Sem estoque zerado" and
 * "Página por grupo". A change asks for the report again with the new options.
 */
final class BotoesOpcoes {
    private final JToggleButton somenteTotais = new JToggleButton("Somente totais");
    private final JToggleButton semEstoqueZerado = new JToggleButton("Sem estoque zerado");
    private final JToggleButton paginaPorGrupo = new JToggleButton("Página por grupo");

    /** {@code comEstoque}: the report has a stock column, so zero-stock lines can be left out. */
    BotoesOpcoes(JToolBar barra, OpcoesRelatorio atuais, boolean comEstoque, Consumer<OpcoesRelatorio> pedir) {
        somenteTotais.setName("somenteTotais");
        somenteTotais.setToolTipText("Uma linha por grupo, com a contagem e as somas");
        somenteTotais.setSelected(atuais.somenteTotais());
        somenteTotais.setFocusable(false);
        barra.add(somenteTotais);
        semEstoqueZerado.setName("semEstoqueZerado");
        semEstoqueZerado.setToolTipText("Deixar de fora as linhas com estoque zero");
        semEstoqueZerado.setSelected(atuais.semEstoqueZerado());
        semEstoqueZerado.setFocusable(false);
        if (comEstoque) barra.add(semEstoqueZerado);
        paginaPorGrupo.setName("paginaPorGrupo");
        paginaPorGrupo.setToolTipText("Cada grupo começa numa página nova");
        paginaPorGrupo.setSelected(atuais.paginaPorGrupo());
        paginaPorGrupo.setFocusable(false);
        barra.add(paginaPorGrupo);
        for (JToggleButton b : new JToggleButton[] {somenteTotais, semEstoqueZerado, paginaPorGrupo})
            b.addActionListener(e -> pedir.accept(opcoes()));
    }

    OpcoesRelatorio opcoes() {
        return new OpcoesRelatorio(somenteTotais.isSelected(), semEstoqueZerado.isSelected(),
                paginaPorGrupo.isSelected());
    }
}
